// One antenna's box in the rotation dialog: a group box captioned with the part number in the
// antenna's trace colour, holding the angle spin edit.
#pragma once

#include <QGroupBox>

class QLabel;
class QSpinBox;

namespace quv {

class TframeAngle : public QGroupBox {
    Q_OBJECT
public:
    explicit TframeAngle(QWidget* parent = nullptr);

    QLabel* lblAngle;
    QSpinBox* spnAngle;

    int Angle() const;
    void SetAngle(int degrees);
};

} // namespace quv
