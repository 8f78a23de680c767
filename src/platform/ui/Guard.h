#pragma once
// Every handler runs inside a guard: an exception escaping it is shown in the
// standard error box and the program goes on. Exceptions must never cross Qt's
// signal dispatch.

#include <QAbstractButton>
#include <QAction>
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

// Why the program is doing what it does right now. A window shown while the
// operator's own command runs (a menu item or a button they chose) takes the
// keyboard; one shown by anything else (a notification such as a move of the
// log, a timer, a key or focus handler, a click from code) leaves it where it
// is, so keys typed on never land in a window that came up on its own.
enum class Cause { Operator, Program };
// The cause of the innermost handler running; with none running (start-up, a
// call from outside every handler) the operator's.
Cause currentCause();

// Runs the handler of a menu item or button through the guard: the operator's
// command when it comes straight from the event loop, the program's when
// another handler clicked it.
bool runCommand(const std::function<void()> &handler);

// While one lives, a nested event loop (a modal window) runs: the operator's
// choices in it are commands again.
class NestedLoop {
public:
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop &) = delete;
    NestedLoop &operator=(const NestedLoop &) = delete;

private:
    std::size_t outerBase_;
};

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
// A button's click and a menu action's trigger are the operator's commands.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, const QObject *receiver, Handler handler)
{
    bool command = false;
    if constexpr (std::is_same_v<Signal, void (QAbstractButton::*)(bool)>)
        command = signal == &QAbstractButton::clicked;
    else if constexpr (std::is_same_v<Signal, void (QAction::*)(bool)>)
        command = signal == &QAction::triggered;
    return QObject::connect(sender, signal, receiver, [handler = std::move(handler), command](auto... args) mutable {
        const auto run = [&] {
            auto tuple = std::make_tuple(args...);
            detail::callLeading<sizeof...(args)>(handler, tuple);
        };
        command ? runCommand(run) : runGuarded(run);
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
