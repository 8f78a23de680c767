#pragma once
// Opening files, pages and programs through the desktop, and the
// shut-down request. Each goes through one settable function, so tests run
// without a desktop.

#include <QString>
#include <QUrl>
#include <functional>

namespace Shell {

// Opens `url` with the desktop's handler; true when it was handed over.
using UrlOpener = std::function<bool(const QUrl &url)>;

// Puts `opener` in place (an empty one restores the desktop's); returns the
// previous one.
UrlOpener setUrlOpener(UrlOpener opener);
bool openUrl(const QUrl &url);

// Starts the program `program` with no arguments and no shell between;
// true when it started.
using ProgramStarter = std::function<bool(const QString &program)>;
// Puts `starter` in place (an empty one restores the system's); returns the
// previous one.
ProgramStarter setProgramStarter(ProgramStarter starter);

enum class Launch { Started, Opened, Missing, Failed };
// A regular file that may be executed and is a binary (ELF) or a script
// ("#!") is started; any other regular file
// is opened with the desktop's handler for its type; anything else (a
// directory, nothing) is missing.
Launch startOrOpen(const QString &path);

// Asks the system to shut the computer down (no forced close); whether it
// agrees is not awaited. One settable request, so tests never shut down.
using ShutdownRequest = std::function<void()>;
// Puts `request` in place (an empty one restores the system's); returns the
// previous one.
ShutdownRequest setShutdownRequest(ShutdownRequest request);
void requestShutdown();

// Opens the local help page `fileName` of `directory` at `anchor`. A missing
// page gives the warning "Help file <fileName> not found".
void openHelp(const QString &directory, const QString &fileName, const QString &anchor);

} // namespace Shell
