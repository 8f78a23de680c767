#pragma once
// Every handler runs inside a guard: an exception escaping it is shown in the
// standard error box and the program goes on. Exceptions must never cross Qt's
// signal dispatch.

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

namespace Ui {

// The text the standard error box shows for an exception.
QString errorText(const std::exception_ptr &error);

// Runs `handler`; an exception it raises is shown, and false returned.
bool runGuarded(const std::function<void()> &handler);

// Connects `signal` of `sender` to `handler` (run in the context of
// `receiver`) through the guard.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, const QObject *receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [handler = std::move(handler)](auto &&...args) {
        runGuarded([&] { handler(std::forward<decltype(args)>(args)...); });
    });
}

// An event filter whose work runs through the guard.
class GuardedEventFilter : public QObject {
public:
    using Filter = std::function<bool(QObject *, QEvent *)>;
    GuardedEventFilter(Filter filter, QObject *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Filter filter_;
};

} // namespace Ui
