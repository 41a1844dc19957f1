#include "patterns/frmRotate.h"

#include "catalogue/Codepage.h"
#include "patterns/frameAngle.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QFrame>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace quv {

TfrmRotate::TfrmRotate(const TRotationAngles& angles, const TQuvFileList& plotList, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), angles_(angles)
{
    setObjectName(QStringLiteral("frmRotate"));
    setWindowTitle(QStringLiteral("Pattern Rotation Angles"));
    setFont(ProgramFont());
    UseFixedDialogFrame(*this);

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(176, 15, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(176, 49, 75, 25);
    btnCancel->setAutoDefault(false);
    connect(btnOK, &QPushButton::clicked, this, &TfrmRotate::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    BuildAngleFrames(plotList);

    int height = 20;
    for (const auto* frame : frames)
        height += frame->height();
    // Buttons stay reachable even with a single frame.
    height = std::max(height, btnCancel->geometry().bottom() + 10);
    // Wide enough for the window manager to show the whole title; the buttons keep to the right.
    const int width = std::max(259, TitleBarWidth(windowTitle()));
    btnOK->move(width - 83, btnOK->y());
    btnCancel->move(width - 83, btnCancel->y());
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("bvlDivider"));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    // The sunken line's dark edge lies 91 pixels left of the right edge, its light edge beside it.
    bevel->setGeometry(width - 91, 8, 2, height - 16);
    setFixedSize(width, height);
}

void TfrmRotate::BuildAngleFrames(const TQuvFileList& plotList)
{
    const int n = std::min(plotList.Count(), kMaxPlotTraces);
    for (int i = 0; i < n; ++i) {
        auto* frame = new TframeAngle(this);
        frame->setObjectName(QStringLiteral("AngleBox") + QString::number(i));
        frame->move(10, i * frame->height() + 10);
        frame->setTitle(QStringLiteral(" ") + ToQString(plotList.Strings(i)) + QStringLiteral(" "));
        const TColor c = TraceColors[static_cast<std::size_t>(i)];
        frame->setStyleSheet(QStringLiteral("QGroupBox::title { color: rgb(%1, %2, %3); }")
                                 .arg(c.r)
                                 .arg(c.g)
                                 .arg(c.b));
        frame->SetAngle(angles_[static_cast<std::size_t>(i)]);
        frames.push_back(frame);
    }
}

void TfrmRotate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (frames.empty())
        return;
    QSpinBox* first = frames.front()->spnAngle;
    first->setFocus(Qt::TabFocusReason);
    first->selectAll();
}

void TfrmRotate::btnOKClick()
{
    for (std::size_t i = 0; i < frames.size(); ++i)
        angles_[i] = frames[i]->Angle();
    accept();
}

bool TfrmRotate::Execute(IPrompt& prompt)
{
    return prompt.ExecDialog(*this) == QDialog::Accepted;
}

} // namespace quv
