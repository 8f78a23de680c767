#pragma once
// Opening files, pages and (later) programs through the desktop. Every call
// goes through one settable opener, so tests run without a desktop.

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

// Opens the local help page `fileName` of `directory` at `anchor`. A missing
// page gives the warning "Help file <fileName> not found".
void openHelp(const QString &directory, const QString &fileName, const QString &anchor);

} // namespace Shell
