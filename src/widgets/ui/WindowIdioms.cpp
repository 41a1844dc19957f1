#include "ui/WindowIdioms.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

#include <algorithm>

namespace quv {

QFont ProgramFont()
{
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    return font;
}

QSize FitToScreen(QSize wanted, QSize available)
{
    return wanted.boundedTo(available).expandedTo(QSize(1, 1));
}

namespace {

// The window manager tells a window its frame only some time after it is mapped, and sometimes
// after the last event that would apply it. Until then a frame of this size is assumed, so a
// window as large as the screen never opens with its title bar off the screen.
constexpr QSize kFrameGuess(12, 40);

QSize FrameOf(const QWidget& window)
{
    const QSize frame =
        window.isVisible() ? window.frameGeometry().size() - window.size() : QSize();
    return frame.isEmpty() ? kFrameGuess : frame;
}

// Applies the screen's limit again whenever the frame or the screen changes, which the window
// manager tells only some time after the window is mapped.
class TScreenFit : public QObject {
public:
    TScreenFit(QWidget& window, QSize minimum)
        : QObject(&window), window_(window), minimum_(minimum)
    {
        window.installEventFilter(this);
    }

    void Apply()
    {
        const QScreen* screen = window_.screen();
        if (!screen)
            return;
        const bool framed = window_.isVisible();
        const QSize frame = FrameOf(window_);
        const QRect area = screen->availableGeometry();
        if (framed && frame == frame_ && area == area_)
            return;
        frame_ = frame;
        area_ = area;
        const QSize available = area.size() - frame;
        window_.setMinimumSize(FitToScreen(minimum_, available));
        if (!framed || window_.isMaximized() || window_.isFullScreen())
            return;
        // Whether or not the size has to give way, the frame as now known may reach past the
        // screen (a window centred before its frame was known): it moves back onto it.
        const QSize fitted = FitToScreen(window_.size(), available);
        if (fitted != window_.size())
            window_.resize(fitted);
        QRect outer(window_.frameGeometry().topLeft(), fitted + frame);
        outer.moveRight(std::min(outer.right(), area.right()));
        outer.moveBottom(std::min(outer.bottom(), area.bottom()));
        outer.moveLeft(std::max(outer.left(), area.left()));
        outer.moveTop(std::max(outer.top(), area.top()));
        if (outer.topLeft() != window_.frameGeometry().topLeft())
            window_.move(outer.topLeft());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_) {
            switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
            case QEvent::ActivationChange:
            case QEvent::ScreenChangeInternal:
                Apply();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    QWidget& window_;
    QSize minimum_;
    QSize frame_;
    QRect area_;
};

} // namespace

void KeepWithinScreen(QWidget& window, QSize minimum, QSize initial)
{
    auto* fit = new TScreenFit(window, minimum);
    fit->Apply();
    const QScreen* screen = window.screen();
    window.resize(screen
                      ? FitToScreen(initial, screen->availableGeometry().size() - FrameOf(window))
                      : initial);
}

TElidedLabel::TElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setToolTip(text);
}

QSize TElidedLabel::minimumSizeHint() const
{
    const QMargins m = contentsMargins();
    return {fontMetrics().horizontalAdvance(QStringLiteral("\u2026")) + m.left() + m.right() +
                2 * margin(),
            QLabel::minimumSizeHint().height()};
}

QString TElidedLabel::Fit(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString ellipsis = QStringLiteral("\u2026");
    // Whole words first: the longest run of them that fits with the ellipsis.
    for (qsizetype end = text.lastIndexOf(QLatin1Char(' ')); end > 0;
         end = text.lastIndexOf(QLatin1Char(' '), end - 1)) {
        const QString words = text.left(end).trimmed();
        if (!words.isEmpty() && metrics.horizontalAdvance(words + ellipsis) <= width)
            return words + ellipsis;
        if (end == 0)
            break;
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
}

void TElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                          Fit(text(), fontMetrics(), area.width()), foregroundRole());
}

TWrappingRow::TWrappingRow(QWidget* first, QWidget* second)
{
    setContentsMargins(0, 0, 0, 0);
    addWidget(first);
    addWidget(second);
}

TWrappingRow::~TWrappingRow()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TWrappingRow::addItem(QLayoutItem* item)
{
    items_.append(item);
}

QLayoutItem* TWrappingRow::itemAt(int index) const
{
    return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

QLayoutItem* TWrappingRow::takeAt(int index)
{
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int TWrappingRow::count() const
{
    return static_cast<int>(items_.size());
}

bool TWrappingRow::Fits(int width) const
{
    int wanted = 0;
    for (const QLayoutItem* item : items_)
        wanted += item->sizeHint().width();
    return wanted + spacing() * (count() - 1) <= width;
}

QSize TWrappingRow::sizeHint() const
{
    QSize size(spacing() * std::max(0, count() - 1), 0);
    for (const QLayoutItem* item : items_)
        size = {size.width() + item->sizeHint().width(),
                std::max(size.height(), item->sizeHint().height())};
    return size;
}

QSize TWrappingRow::minimumSize() const
{
    QSize size(0, 0);
    for (const QLayoutItem* item : items_)
        size = size.expandedTo(item->minimumSize());
    return size;
}

int TWrappingRow::heightForWidth(int width) const
{
    if (Fits(width))
        return sizeHint().height();
    int height = spacing() * std::max(0, count() - 1);
    for (const QLayoutItem* item : items_)
        height += item->sizeHint().height();
    return height;
}

void TWrappingRow::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    if (items_.size() != 2)
        return;
    const QSize a = items_[0]->sizeHint();
    const QSize b = items_[1]->sizeHint();
    if (Fits(rect.width())) {
        const int h = std::max(a.height(), b.height());
        items_[0]->setGeometry(QRect(rect.left(), rect.top() + (h - a.height()) / 2,
                                     std::min(a.width(), rect.width()), a.height()));
        items_[1]->setGeometry(QRect(rect.right() + 1 - b.width(),
                                     rect.top() + (h - b.height()) / 2, b.width(), b.height()));
        return;
    }
    items_[0]->setGeometry(
        QRect(rect.topLeft(), QSize(std::min(a.width(), rect.width()), a.height())));
    const int w = std::min(b.width(), rect.width());
    items_[1]->setGeometry(
        QRect(rect.right() + 1 - w, rect.top() + a.height() + spacing(), w, b.height()));
}

int TitleBarWidth(const QString& title)
{
    // Window managers draw titles in a bold face of their own theme, not the program's font:
    // measured in the wide desktop face most themes use. Some show minimise and maximise buttons
    // even on a fixed dialog: room for the window menu and three buttons, a title height each,
    // plus the frame's margins.
    QFont font(QStringLiteral("DejaVu Sans"), 10, QFont::Bold);
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    const QFontMetrics fm(font);
    return fm.horizontalAdvance(title) + 6 * fm.height() + 32;
}

namespace {

class TCutTextToolTips : public QObject {
public:
    explicit TCutTextToolTips(QAbstractItemView& view) : QObject(&view), view_(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || watched != view_.viewport())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = view_.indexAt(help->pos());
        const QString text = index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
        const QRect cell = view_.visualRect(index);
        const QVariant fontData = index.data(Qt::FontRole);
        const QFont font = fontData.isValid() ? fontData.value<QFont>() : view_.font();
        // The item views keep a few pixels of margin on each side of the text.
        constexpr int kTextMargins = 8;
        if (!text.isEmpty() &&
            QFontMetrics(font).horizontalAdvance(text) > cell.width() - kTextMargins)
            QToolTip::showText(help->globalPos(), text, view_.viewport(), cell);
        else
            QToolTip::hideText();
        return true;
    }

private:
    QAbstractItemView& view_;
};

} // namespace

void ShowCutTextsAsToolTips(QAbstractItemView& view)
{
    view.viewport()->installEventFilter(new TCutTextToolTips(view));
}

void UseFixedDialogFrame(QDialog& dialog)
{
    // Without the customise hint the window manager is free to add minimise and maximise
    // buttons, which a fixed size makes meaningless and which crowd the title out.
    const Qt::WindowFlags keep = dialog.windowFlags() & (Qt::WindowStaysOnTopHint);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint | keep);
}

namespace {

class TWheelNeedsFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && !widget->hasFocus()) {
                event->ignore();
                return true;
            }
        }
        return false;
    }
};

// Ends a wait as soon as the watched window is exposed again.
class TExposeWatch : public QObject {
public:
    explicit TExposeWatch(QEventLoop& loop) : loop_(loop) {}
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A window that is hidden or covered entirely gets an expose too, of nothing.
        const auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && !seen && window && window->isExposed()) {
            seen = true;
            loop_.quit(); // the expose itself is still delivered, and flushes the window
        }
        return false;
    }

private:
    QEventLoop& loop_;
};

} // namespace

void RequireFocusForWheel(QWidget& root)
{
    auto* filter = new TWheelNeedsFocus(&root);
    for (QComboBox* combo : root.findChildren<QComboBox*>()) {
        // The default policy also takes the focus on a wheel turn, which would then change it.
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(filter);
    }
}

void DropHoverAfterMenu(QToolButton& button)
{
    QMenu* menu = button.menu();
    if (!menu)
        return;
    QObject::connect(menu, &QMenu::aboutToHide, &button, [target = QPointer<QToolButton>(&button)] {
        // After the menu has gone; the chosen item's command may run first.
        QTimer::singleShot(0, target, [target] {
            if (!target || target->rect().contains(target->mapFromGlobal(QCursor::pos())))
                return;
            target->setAttribute(Qt::WA_UnderMouse, false);
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(target, &leave);
            target->update();
        });
    });
}

bool ShowExposed(QWidget& window, int maxWaitMs)
{
    window.show();
    QWindow* handle = window.windowHandle();
    if (!handle)
        return false;
    QEventLoop loop;
    TExposeWatch watch(loop);
    handle->installEventFilter(&watch);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!handle->isExposed() && maxWaitMs > 0) {
        QTimer::singleShot(maxWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    handle->removeEventFilter(&watch);
    return handle->isExposed();
}

void RepaintUncovered(QWidget& window, int maxWaitMs)
{
    QWidget* top = window.window();
    QWindow* handle = top->windowHandle();
    if (!top->isVisible() || !handle) {
        window.repaint();
        return;
    }
    if (maxWaitMs < 0)
        maxWaitMs = QGuiApplication::platformName() == QLatin1String("xcb") ? 300 : 0;
    QEventLoop loop;
    TExposeWatch watch(loop);
    handle->installEventFilter(&watch);
    // The closed dialog's area is uncovered by the window manager some time after the dialog was
    // hidden; the window system then asks for it with an expose.
    QGuiApplication::sync();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    top->repaint();
    if (!watch.seen && maxWaitMs > 0) {
        QTimer::singleShot(maxWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    handle->removeEventFilter(&watch);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::sync();
}

} // namespace quv
