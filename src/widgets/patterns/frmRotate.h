// "Pattern Rotation Angles": one angle box per plotted antenna; on OK the angles replace the
// pattern window's azimuth rotations.
#pragma once

#include "catalogue/QuvLib.h"
#include "plot/PolarPlotLib.h"

#include <QDialog>

#include <vector>

class QPushButton;

namespace quv {

class IPrompt;
class TframeAngle;

class TfrmRotate : public QDialog {
    Q_OBJECT
public:
    TfrmRotate(const TRotationAngles& angles, const TQuvFileList& plotList, QWidget* owner);

    QPushButton* btnOK;
    QPushButton* btnCancel;
    std::vector<TframeAngle*> frames;

    // Shows the dialog modally through the prompt; true when confirmed with OK.
    bool Execute(IPrompt& prompt);
    const TRotationAngles& Angles() const { return angles_; }

protected:
    // Opens with the first angle selected, so typing an angle and Enter apply it.
    void showEvent(QShowEvent* event) override;

private:
    void BuildAngleFrames(const TQuvFileList& plotList);
    void btnOKClick();

    TRotationAngles angles_;
};

} // namespace quv
