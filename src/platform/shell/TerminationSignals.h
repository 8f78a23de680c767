#pragma once
// SIGTERM and SIGHUP (a logout, a system shut-down, `kill`) end the program
// the normal way, on the user-interface thread, so every table is closed and
// checkpointed and one plain file per table remains.

#include <functional>

namespace Shell {

// Runs `handler` on the user-interface thread once per SIGTERM or SIGHUP that
// arrives. Call once, after the application object exists.
void onTerminationSignals(std::function<void()> handler);

} // namespace Shell
