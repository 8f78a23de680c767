#include "platform/ui/Window.h"

#include "platform/ui/Guard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>

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
// A title bar shows the caption in bold beside an icon and three buttons.
constexpr int titleBarButtons = 150;

int captionWidth(const QWidget *window)
{
    QFont bold = window->font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + titleBarButtons;
}


int keepKeyboardDepth = 0;

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

KeepKeyboard::KeepKeyboard()
{
    ++keepKeyboardDepth;
}

KeepKeyboard::~KeepKeyboard()
{
    --keepKeyboardDepth;
}

bool KeepKeyboard::active()
{
    return keepKeyboardDepth > 0;
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

void Window::fitIntoScreen()
{
    const QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry().marginsRemoved(assumedFrame);
    ensurePolished();
    // A window keeps the size it set, or the toolkit's choice for it, as far
    // as its contents fit, and is as wide as they ask (a grid all its
    // columns) and as its caption needs.
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    QSize size = this->size().expandedTo(QSize(sizeHint().width(), 0));
    size = size.expandedTo(minimumSizeHint()).expandedTo(minimumSize());
    size.setWidth(qMax(size.width(), captionWidth(this)));
    size = size.boundedTo(area.size()).boundedTo(maximumSize());
    // Placed before: it grows about its centre.
    const QPoint centre = testAttribute(Qt::WA_Moved) ? geometry().topLeft() + QPoint(width() / 2, height() / 2)
                                                      : area.center();
    QRect place(centre - QPoint(size.width() / 2, size.height() / 2), size);
    place.moveLeft(qBound(area.left(), place.left(), area.right() - size.width() + 1));
    place.moveTop(qBound(area.top(), place.top(), area.bottom() - size.height() + 1));
    if (place != geometry())
        setGeometry(place);
}

void Window::showWindow()
{
    const bool wasVisible = isVisible();
    const bool first = !placed_;
    placed_ = true;
    if (first)
        fitIntoScreen();
    // A window manager gives the keyboard to a window that is mapped, and
    // later than any activation asked for before the map: only a window
    // mapped as not to be activated leaves it where it is.
    const bool keepKeyboard = KeepKeyboard::active();
    setAttribute(Qt::WA_ShowWithoutActivating, keepKeyboard);
    show();
    raise();
    if (!keepKeyboard)
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
    showWindow();
    if (isVisible()) {
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
    if (modalLoop_ && !isVisible())
        modalLoop_->quit();
}

bool Window::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && lastActive() != this) {
        const bool result = QMainWindow::event(event);
        activated();
        return result;
    }
    return QMainWindow::event(event);
}

} // namespace Ui
