#include "dialogs/frmExport.h"

#include "catalogue/Codepage.h"
#include "catalogue/QuvLib.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"
#include "ui/Prompt.h"
#include "ui/WindowIdioms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace quv {

void DrawMarkedText(QPainter& painter, QPoint topLeft, std::string_view caption, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    const int blank = QFontMetrics(font).horizontalAdvance(QLatin1Char(' '));
    int x = topLeft.x();
    for (const TMarkedWord& word : SplitMarkedText(caption)) {
        const QFont& f = word.bold ? bold : font;
        const QString text = ToQString(word.text);
        const QFontMetrics metrics(f);
        painter.setFont(f);
        painter.drawText(QPoint(x, topLeft.y() + metrics.ascent()), text);
        x += metrics.horizontalAdvance(text) + blank;
    }
    painter.setFont(font);
}

void TFormatListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    DrawMarkedText(*painter, option.rect.topLeft() + QPoint(2, 0),
                   FromQString(index.data(Qt::DisplayRole).toString()), option.font);
    painter->restore();
}

QSize TFormatListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), qMax(13, option.fontMetrics.height()));
}

std::string FileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString DisplayPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void FillFormatList(QListWidget& list)
{
    list.clear();
    list.setItemDelegate(new TFormatListDelegate(&list));
    for (const TExportFormat& format : ExportFormats())
        list.addItem(ToQString(format.caption));
    // The captions are drawn by hand and fit the list, so it shows every row without scrolling.
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setMinimumHeight(list.sizeHintForRow(0) * list.count() + 2 * list.frameWidth());
    list.setCurrentRow(0);
}

TfrmExport::TfrmExport(const TQuvFileList& plotList, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Export Selected Antennas Options"));
    setFont(ProgramFont());
    UseFixedDialogFrame(*this);

    lbxExportType = new QListWidget(this);
    lbxExportType->setObjectName(QStringLiteral("lbxExportType"));
    lbxExportType->setMinimumWidth(280);
    FillFormatList(*lbxExportType);
    lbxAntennas = new QListWidget(this);
    ShowCutTextsAsToolTips(*lbxAntennas);
    lbxAntennas->setObjectName(QStringLiteral("lbxAntennas"));
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Select Export Format"), this));
    left->addWidget(lbxExportType);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Check Antenna(s) to Export"), this));
    right->addWidget(lbxAntennas);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 3);
    lists->addLayout(right, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* main = new QVBoxLayout(this);
    main->addLayout(lists);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lbxAntennas, &QListWidget::itemChanged, this, &TfrmExport::lbxAntennasClickCheck);
    connect(lbxExportType, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { lbxExportTypeDblClick(); });
    // The plot list cannot change while the dialog lives, so the list is filled once here.
    FormShow(plotList);
}

void TfrmExport::FormShow(const TQuvFileList& plotList)
{
    const QSignalBlocker blocker(lbxAntennas);
    lbxAntennas->clear();
    listed_.clear();
    for (const auto& item : plotList) {
        auto* row = new QListWidgetItem(ToQString(item.object->PartNumber), lbxAntennas);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Checked);
        listed_.push_back(item.object);
    }
}

void TfrmExport::lbxAntennasClickCheck(QListWidgetItem*)
{
    bool any = false;
    for (int i = 0; i < lbxAntennas->count() && !any; ++i)
        any = lbxAntennas->item(i)->checkState() == Qt::Checked;
    btnOK->setEnabled(any);
}

void TfrmExport::lbxExportTypeDblClick()
{
    if (btnOK->isEnabled())
        btnOK->click();
}

void TfrmExport::FormClose()
{
    antennas_.Clear();
    for (int i = 0; i < lbxAntennas->count(); ++i)
        if (lbxAntennas->item(i)->checkState() == Qt::Checked)
            antennas_.Add(listed_[static_cast<std::size_t>(i)]->PartNumber,
                          listed_[static_cast<std::size_t>(i)]);
    formatIndex_ = lbxExportType->currentRow();
}

void TfrmExport::done(int result)
{
    FormClose();
    QDialog::done(result);
}

bool TfrmExport::Execute(IPrompt& prompt)
{
    const int result = prompt.ExecDialog(*this);
    FormClose();
    return result == QDialog::Accepted && !antennas_.Empty();
}

void ExportSelected(QWidget* parent, IPrompt& prompt, const TQuvFileList& plotList)
{
    QString saveFolder;
    ExportSelected(parent, prompt, plotList, saveFolder);
}

void ExportSelected(QWidget* parent, IPrompt& prompt, const TQuvFileList& plotList,
                    QString& saveFolder)
{
    TfrmExport dialog(plotList, parent);
    if (!dialog.Execute(prompt))
        return;
    const QString filter = QStringLiteral("All Supported Files (%1)")
                               .arg(QString::fromStdString(WrittenFilePatterns()));
    for (const auto& item : dialog.Antennas()) {
        const QString name = ToQString(item.object->PartNumber);
        const QString chosen = prompt.ChooseSaveFile(
            parent, QStringLiteral("Save As"),
            saveFolder.isEmpty() ? name : QDir(saveFolder).filePath(name), filter);
        if (chosen.isEmpty())
            continue;
        saveFolder = QFileInfo(chosen).absolutePath();
        const std::string path = FileSystemPath(chosen);
        std::string message;
        if (WriteExportFile(path, *item.object, dialog.FormatIndex(), ExportToday(), message))
            continue;
        // The quoted name is a file-system name; the rest is in the records' code page.
        const std::size_t at = message.find(path);
        prompt.Inform(parent,
                      at == std::string::npos ? ToQString(message)
                                              : ToQString(message.substr(0, at)) + chosen +
                                                    ToQString(message.substr(at + path.size())),
                      IPrompt::Icon::Error);
    }
}

} // namespace quv
