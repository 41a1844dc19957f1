#include "patterns/frameAngle.h"

#include <QLabel>
#include <QSpinBox>

namespace quv {

TframeAngle::TframeAngle(QWidget* parent) : QGroupBox(parent)
{
    setFixedSize(153, 65);
    lblAngle = new QLabel(QStringLiteral("Angle"), this);
    lblAngle->setObjectName(QStringLiteral("lblAngle"));
    lblAngle->move(20, 32);
    spnAngle = new QSpinBox(this);
    spnAngle->setObjectName(QStringLiteral("spnAngle"));
    spnAngle->setRange(-360, 360);
    spnAngle->setGeometry(52, 24, 65, spnAngle->sizeHint().height());
    lblAngle->setBuddy(spnAngle);
}

int TframeAngle::Angle() const
{
    return spnAngle->value();
}

void TframeAngle::SetAngle(int degrees)
{
    spnAngle->setValue(degrees);
}

} // namespace quv
