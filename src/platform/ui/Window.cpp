#include "platform/ui/Window.h"

#include "platform/ui/Guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

namespace Ui {

namespace {
// The program's window that was active last; focus coming back to it is not a
// new activation.
QPointer<Window> &lastActive()
{
    static QPointer<Window> window;
    return window;
}
} // namespace

Window::Window(const QString &objectName, const QString &caption, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
}

void Window::activated()
{
    lastActive() = this;
    runGuarded([this] { FormActivate(); });
}

void Window::showWindow()
{
    const bool wasVisible = isVisible();
    show();
    raise();
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
