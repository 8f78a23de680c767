#pragma once
// Every handler runs inside a guard: an exception escaping it is shown in the
// standard error box and the program goes on. Exceptions must never cross Qt's
// signal dispatch.

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace Ui {

// The text the standard error box shows for an exception.
QString errorText(const std::exception_ptr &error);

// Runs `handler`; an exception it raises is shown, and false returned.
bool runGuarded(const std::function<void()> &handler);

// A step that puts the windows back after a walk, from a destructor: run
// guarded as usual, but while another error is on its way a failure of the
// step stays quiet, as that error is the one the operator needs to see.
void runRestoring(const std::function<void()> &step);

namespace detail {

template <typename Handler, typename Tuple, std::size_t... I>
constexpr bool invocableWith(std::index_sequence<I...>)
{
    return std::is_invocable_v<Handler &, std::tuple_element_t<I, Tuple> &...>;
}

// Calls `handler` with as many leading signal arguments as it takes, as Qt
// does for plain functors.
template <std::size_t N, typename Handler, typename Tuple>
void callLeading(Handler &handler, Tuple &args)
{
    if constexpr (invocableWith<Handler, Tuple>(std::make_index_sequence<N>{})) {
        [&]<std::size_t... I>(std::index_sequence<I...>) { handler(std::get<I>(args)...); }(
            std::make_index_sequence<N>{});
    } else {
        static_assert(N > 0, "the handler cannot take these signal arguments");
        callLeading<N - 1>(handler, args);
    }
}

} // namespace detail

// Connects `signal` of `sender` to `handler` (run in the context of
// `receiver`) through the guard.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, const QObject *receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [handler = std::move(handler)](auto... args) mutable {
        runGuarded([&] {
            auto tuple = std::make_tuple(args...);
            detail::callLeading<sizeof...(args)>(handler, tuple);
        });
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
