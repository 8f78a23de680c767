#include "platform/ui/Guard.h"

#include "platform/table/TableError.h"
#include "platform/ui/Dialogs.h"

#include <exception>
#include <new>
#include <vector>

namespace Ui {

QString errorText(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Db::TableError &e) {
        return e.message();
    } catch (const std::bad_alloc &) {
        // The library's own text ("std::bad_alloc") tells the operator nothing.
        return QStringLiteral("Not enough memory: the work was stopped");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

namespace {
// The causes of the handlers running, innermost last; those below `base`
// belong to the handlers around the nested event loop that runs now.
std::vector<Cause> &causes()
{
    thread_local std::vector<Cause> running;
    return running;
}
thread_local std::size_t base = 0;

bool showFailure(const std::function<void()> &handler)
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

bool runAs(Cause cause, const std::function<void()> &handler)
{
    causes().push_back(cause);
    const bool done = showFailure(handler);
    causes().pop_back();
    return done;
}
} // namespace

Cause currentCause()
{
    return causes().size() == base ? Cause::Operator : causes().back();
}

bool runCommand(const std::function<void()> &handler)
{
    return runAs(causes().size() == base ? Cause::Operator : Cause::Program, handler);
}

NestedLoop::NestedLoop() : outerBase_(base)
{
    base = causes().size();
}

NestedLoop::~NestedLoop()
{
    base = outerBase_;
}

bool runGuarded(const std::function<void()> &handler)
{
    return runAs(Cause::Program, handler);
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
