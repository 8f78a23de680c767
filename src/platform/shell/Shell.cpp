#include "platform/shell/Shell.h"

#include "platform/ui/Dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace Shell {

namespace {

bool desktopOpen(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

UrlOpener &current()
{
    static UrlOpener opener = desktopOpen;
    return opener;
}

} // namespace

UrlOpener setUrlOpener(UrlOpener opener)
{
    UrlOpener previous = current();
    current() = opener ? std::move(opener) : UrlOpener(desktopOpen);
    return previous;
}

bool openUrl(const QUrl &url)
{
    return current()(url);
}

void openHelp(const QString &directory, const QString &fileName, const QString &anchor)
{
    const QString path = QDir(directory).filePath(fileName);
    if (!QFileInfo(path).isFile()) {
        Ui::showWarning(QStringLiteral("Help file ") + fileName + QStringLiteral(" not found"));
        return;
    }
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setFragment(anchor);
    openUrl(url);
}

} // namespace Shell
