#include "platform/ui/Guard.h"

#include "platform/table/TableError.h"
#include "platform/ui/Dialogs.h"

#include <exception>

namespace Ui {

QString errorText(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Db::TableError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

bool runGuarded(const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (...) {
        const QString text = errorText(std::current_exception());
        try {
            showError(text);
        } catch (...) {
            // The error box itself failed; nothing more can be shown.
        }
        return false;
    }
}

void runRestoring(const std::function<void()> &step)
{
    if (std::uncaught_exceptions() == 0) {
        runGuarded(step);
        return;
    }
    try {
        step();
    } catch (...) {
    }
}

GuardedEventFilter::GuardedEventFilter(Filter filter, QObject *parent) : QObject(parent), filter_(std::move(filter)) {}

bool GuardedEventFilter::eventFilter(QObject *watched, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = filter_(watched, event); });
    return handled;
}

} // namespace Ui
