// The main window's own constants and small widget helpers, shared by the files that build the
// window, fill its pages, apply its filters and handle its keys. Only those files include it.
#pragma once

#include "catalogue/Codepage.h"
#include "catalogue/Filters.h"
#include "catalogue/NumberText.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace quv::mainwindow {

constexpr int kTopMin = 215;
constexpr int kTopMax = 280;
constexpr int kRowHeight = 19;
constexpr int kTitleColumnWidth = 240;
constexpr int kMaxReportedFailures = 20;

const QString kNoFilesMessage = QStringLiteral(
    "No antenna(QUV) files were found. \r\rThe QUV files must reside in a folder named \"quv\" in "
    "the same directory as the \"QUV Select\" program.");

inline QLabel* HeaderBar(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFixedHeight(20);
    label->setIndent(6);
    label->setStyleSheet(QStringLiteral("background: #808080; color: white; font-weight: bold;"));
    return label;
}

template <typename T> inline T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline std::optional<std::string> ComboText(const QComboBox* combo)
{
    if (combo->currentIndex() < 0)
        return std::nullopt;
    return FromQString(combo->currentText());
}

inline std::optional<double> ComboValue(const QComboBox* combo)
{
    double value = 0;
    const auto text = ComboText(combo);
    if (!text || !TryStrToFloat(*text, value))
        return std::nullopt;
    return value;
}

inline void FillCombo(QComboBox* combo, const std::vector<std::string>& texts)
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (const auto& text : texts)
        combo->addItem(ToQString(text));
    combo->setCurrentIndex(-1);
}

// The row shown selected. Not the current row: a press-drag moves the selection before the
// current row follows it, and the filters run on the selection's signal.
inline int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

inline int CheckedCount(const QListWidget* list)
{
    int count = 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            ++count;
    return count;
}

inline bool AnyChecked(const QListWidget* list)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            return true;
    return false;
}

// The selected item's text as plain text; nothing selected leaves the clipboard alone.
inline void CopySelectedItem(const QListWidget* list)
{
    if (const int row = SelectedRow(list); row >= 0)
        QGuiApplication::clipboard()->setText(list->item(row)->text());
}

// Every line followed by CR LF; an empty list leaves the clipboard alone.
inline void CopyAllItems(const std::vector<std::string>& lines)
{
    if (!lines.empty())
        QGuiApplication::clipboard()->setText(ToQString(JoinLinesCrLf(lines)));
}
} // namespace quv::mainwindow
