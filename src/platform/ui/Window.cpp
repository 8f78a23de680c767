#include "platform/ui/Window.h"

#include "platform/ui/Guard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
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

int keepKeyboardDepth = 0;

// An entry field would take Ctrl+C as Copy (and other keys as its own
// editing keys) before the window's menu saw them: a key that is the
// shortcut of an enabled item of the window's menus goes to the menus.
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
                       [&key](const QAction *a) { return a->isEnabled() && a->shortcuts().contains(key); });
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

void Window::showWindow()
{
    const bool wasVisible = isVisible();
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
