#include "platform/ui/Window.h"

#include "platform/ui/Guard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

namespace Ui {

namespace {
// The program's window that was active last; focus coming back to it is not a
// new activation.
QPointer<Window> &lastActive()
{
    static QPointer<Window> window;
    return window;
}
// A window manager's title bar and borders are not known before a window is
// first shown; its first place allows for usual ones.
const QMargins assumedFrame(4, 30, 4, 4);
// The windows shown beside another: each opens clear of the others.
QList<QPointer<Window>> &besideWindows()
{
    static QList<QPointer<Window>> windows;
    return windows;
}
// A title bar shows the caption in bold beside an icon and three buttons.
constexpr int titleBarButtons = 150;



// An entry field would take Ctrl+C as Copy (and other keys as its own
// editing keys) before the window's menu saw them: a key that is the
// shortcut of an enabled, shown item of the window's menus goes to the menus.
bool menuShortcutFirst(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    auto *window = qobject_cast<Window *>(static_cast<QWidget *>(watched)->window());
    if (!window)
        return false;
    const QKeySequence key(static_cast<QKeyEvent *>(event)->keyCombination());
    const QList<QAction *> actions = window->findChildren<QAction *>();
    // Left unaccepted, the override lets the shortcut run.
    return std::any_of(actions.begin(), actions.end(),
                       [&key](const QAction *a) { return a->isEnabled() && a->isVisible() && a->shortcuts().contains(key); });
}

void installMenuShortcutsFirst()
{
    static QPointer<QObject> filter;
    if (!filter) {
        filter = new GuardedEventFilter(menuShortcutFirst, qApp);
        qApp->installEventFilter(filter);
    }
}
} // namespace

int captionWidth(const QWidget *window)
{
    QFont bold = window->font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + titleBarButtons;
}

Window::Window(const QString &objectName, const QString &caption, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    installMenuShortcutsFirst();
}

void Window::activated()
{
    lastActive() = this;
    runGuarded([this] { FormActivate(); });
}

QRect placeBeside(const QRect &ownerFrame, const QList<QRect> &avoid, QSize size, const QRect &area)
{
    size = size.boundedTo(area.size());
    const QRect kept = avoid.value(0);
    // Coarse steps: a few pixels more or less of a window's place are nothing
    // to the eye.
    constexpr int step = 8;
    const auto clearOf = [&](const QRect &place, qsizetype count) {
        if (!area.contains(place))
            return false;
        for (qsizetype i = 0; i < count; ++i)
            if (place.intersects(avoid[i]))
                return false;
        return true;
    };
    // Across the screen, nearest the owner's left edge first.
    QList<int> across;
    for (int x = area.left(); x + size.width() <= area.right() + 1; x += step)
        across.append(x);
    std::stable_sort(across.begin(), across.end(), [&ownerFrame](int a, int b) {
        return std::abs(a - ownerFrame.left()) < std::abs(b - ownerFrame.left());
    });
    const auto search = [&](qsizetype count) -> std::optional<QRect> {
        // Beside the owner, from level with its top downwards.
        for (int y = ownerFrame.top(); y + size.height() <= area.bottom() + 1; y += step)
            for (const int x : {ownerFrame.right() + 1, ownerFrame.left() - size.width()})
                if (const QRect place(QPoint(x, y), size); clearOf(place, count))
                    return place;
        // Under the part kept clear, as near it as there is room.
        for (int y = qMax(kept.bottom() + 1, area.top()); y + size.height() <= area.bottom() + 1; y += step)
            for (const int x : std::as_const(across))
                if (const QRect place(QPoint(x, y), size); clearOf(place, count))
                    return place;
        return std::nullopt;
    };
    for (const qsizetype count : {avoid.size(), qMin<qsizetype>(1, avoid.size())})
        if (const std::optional<QRect> place = search(count))
            return *place;
    // Too big for any clear place: as low on the screen as it goes.
    const int x = qBound(area.left(), ownerFrame.left(), area.right() - size.width() + 1);
    return QRect(QPoint(x, area.bottom() - size.height() + 1), size);
}

QMargins Window::frameMargins() const
{
    // The window manager's own frame once known, never less than a usual
    // one: before the first map it is not known at all.
    const QRect frame = frameGeometry();
    const QMargins known(geometry().left() - frame.left(), geometry().top() - frame.top(),
                         frame.right() - geometry().right(), frame.bottom() - geometry().bottom());
    return QMargins(qMax(known.left(), assumedFrame.left()), qMax(known.top(), assumedFrame.top()),
                    qMax(known.right(), assumedFrame.right()), qMax(known.bottom(), assumedFrame.bottom()));
}

QSize Window::wantedSize(const QRect &area)
{
    ensurePolished();
    // A window keeps the size it set, or the toolkit's choice for it, as far
    // as its contents fit, and is as wide as they ask (a grid all its
    // columns) and as its caption needs.
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    QSize size = this->size().expandedTo(QSize(sizeHint().width(), 0));
    size = size.expandedTo(minimumSizeHint()).expandedTo(minimumSize());
    size.setWidth(qMax(size.width(), captionWidth(this)));
    return size.boundedTo(area.size()).boundedTo(maximumSize());
}

namespace {
QRect availableArea(const QWidget *window)
{
    const QScreen *screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect globalRect(const QWidget *widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}
} // namespace

void Window::fitIntoScreen()
{
    const QRect screenArea = availableArea(this);
    if (screenArea.isEmpty())
        return;
    const QRect area = screenArea.marginsRemoved(assumedFrame);
    QSize size = wantedSize(area);
    fittedHintWidth_ = sizeHint().width();
    if (owner_ && owner_->isVisible()) {
        QList<QRect> avoid{QRect()};
        for (const QPointer<QWidget> &w : std::as_const(keepClear_))
            if (w && w->isVisible())
                avoid[0] |= globalRect(w);
        for (const QPointer<Window> &other : std::as_const(besideWindows()))
            if (other && other != this && other->owner_ == owner_ && other->isVisible())
                avoid.append(other->frameGeometry());
        const QMargins margins = frameMargins();
        // Taller than the room under the kept part: as short as its contents
        // allow (a grid scrolls), so the entry stays in sight.
        const int room = screenArea.bottom() - avoid[0].bottom() - margins.top() - margins.bottom();
        if (!avoid[0].isNull() && size.height() > room)
            size.setHeight(qMax(room, qMax(minimumSizeHint().height(), minimumHeight())));
        const QRect frame = placeBeside(owner_->frameGeometry(), avoid,
                                        QRect(QPoint(), size).marginsAdded(margins).size(), screenArea);
        setGeometry(frame.marginsRemoved(margins));
        return;
    }
    // Placed before: it grows about its centre.
    const QPoint centre = testAttribute(Qt::WA_Moved) ? geometry().topLeft() + QPoint(width() / 2, height() / 2)
                                                      : area.center();
    QRect place(centre - QPoint(size.width() / 2, size.height() / 2), size);
    if (opensAtTop_ && !testAttribute(Qt::WA_Moved))
        place.moveTop(area.top());
    place.moveLeft(qBound(area.left(), place.left(), area.right() - size.width() + 1));
    place.moveTop(qBound(area.top(), place.top(), area.bottom() - size.height() + 1));
    if (place != geometry())
        setGeometry(place);
}

void Window::growToContents()
{
    if (!placed_)
        return;
    const QSize size = wantedSize(availableArea(this).marginsRemoved(assumedFrame));
    fittedHintWidth_ = sizeHint().width();
    growTo(size);
}

void Window::growTo(QSize size)
{
    if (size.width() <= width() && size.height() <= height())
        return;
    const QRect area = availableArea(this).marginsRemoved(assumedFrame);
    QRect place(geometry().topLeft(), size.expandedTo(this->size()).boundedTo(area.size()));
    place.moveLeft(qBound(area.left(), place.left(), area.right() - place.width() + 1));
    place.moveTop(qBound(area.top(), place.top(), area.bottom() - place.height() + 1));
    setGeometry(place);
}

void Window::setBeside(Window *owner, QList<QWidget *> keepClear)
{
    if (!owner_)
        besideWindows().append(this);
    owner_ = owner;
    // The window system keeps only a dialog's kind of window above the one it
    // belongs to; the title bar keeps all its buttons.
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    keepClear_.clear();
    for (QWidget *w : keepClear)
        keepClear_.append(w);
}

void Window::showWindow()
{
    showAs(currentCause() == Cause::Operator);
}

void Window::showAs(bool takeKeyboard)
{
    const bool wasVisible = isVisible();
    const bool first = !placed_;
    placed_ = true;
    if (first)
        fitIntoScreen();
    create();
    if (owner_) {
        // Kept above the owner by the window manager, which needs no
        // activation for it.
        owner_->create();
        if (windowHandle() && owner_->windowHandle())
            windowHandle()->setTransientParent(owner_->windowHandle());
    }
    if (takeKeyboard) {
        QWidget *from = QApplication::activeWindow();
        if (from && from != this)
            openedFrom_ = from;
    }
    // A window manager gives the keyboard to a window that is mapped, and
    // later than any activation asked for before the map: only a window
    // mapped as not to be activated leaves it where it is.
    setAttribute(Qt::WA_ShowWithoutActivating, !takeKeyboard);
    // The toolkit reads the attribute only when it makes the native window:
    // each show says it again.
    if (windowHandle())
        windowHandle()->setProperty("_q_showWithoutActivating", !takeKeyboard);
    show();
    raise();
    if (takeKeyboard)
        activateWindow();
    if (!wasVisible)
        runGuarded([this] { FormShow(); });
    activated();
    // What the handlers, or the caller right after showing it, filled in (a
    // table opened on activation, a column shown) may ask for more room than
    // the window had.
    if (first) {
        fitIntoScreen();
        QTimer::singleShot(0, this, [this] { fitIntoScreen(); });
    }
}

void Window::showModal()
{
    setWindowModality(Qt::ApplicationModal);
    showAs(true);
    if (isVisible()) {
        const NestedLoop nested;
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec();
        modalLoop_ = nullptr;
    }
    setWindowModality(Qt::NonModal);
}

void Window::closeWindow()
{
    close();
}

void Window::makeInvisible()
{
    hide();
}

void Window::closeEvent(QCloseEvent *event)
{
    runGuarded([this] { FormClose(); });
    event->accept();
    if (endsProgram_)
        QApplication::quit();
}

void Window::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    // Minimising sends a hide event too; only a window really hidden ends
    // its modal run.
    if (isVisible())
        return;
    if (modalLoop_)
        modalLoop_->quit();
    // The window it was opened from gets the keyboard back, whatever the
    // window manager would bring up instead; unless the keyboard is already
    // in another of the program's windows. (A window closed from its title
    // bar has already lost it when it hides.)
    QPointer<QWidget> from = std::exchange(openedFrom_, nullptr);
    const QWidget *active = QApplication::activeWindow();
    if (from && from->isVisible() && (active == this || !active))
        QTimer::singleShot(0, from, [from] {
            from->raise();
            from->activateWindow();
        });
}

bool Window::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && lastActive() != this) {
        const bool result = QMainWindow::event(event);
        activated();
        return result;
    }
    const bool result = QMainWindow::event(event);
    // Contents that ask for more room than they had when the window was
    // fitted (a grid that gained columns in another of the window's roles)
    // get it; a window the operator made narrower stays so otherwise.
    if (event->type() == QEvent::LayoutRequest && placed_ && isVisible() && sizeHint().width() > fittedHintWidth_)
        growToContents();
    return result;
}

} // namespace Ui
