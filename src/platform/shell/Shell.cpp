#include "platform/shell/Shell.h"

#include "platform/ui/Dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

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

bool systemStart(const QString &program)
{
    return QProcess::startDetached(program, {});
}

ProgramStarter &currentStarter()
{
    static ProgramStarter starter = systemStart;
    return starter;
}

void systemShutdown()
{
    // Through the session's service manager, which asks running programs to
    // end as a normal shut-down does.
    QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}

ShutdownRequest &currentShutdown()
{
    static ShutdownRequest request = systemShutdown;
    return request;
}

// On vfat and NTFS mounts every file carries the x bit: only a binary or a
// script is a program, the rest are documents.
bool isProgram(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == QByteArrayLiteral("\x7f" "ELF") || head.startsWith("#!");
}

} // namespace

ShutdownRequest setShutdownRequest(ShutdownRequest request)
{
    ShutdownRequest previous = currentShutdown();
    currentShutdown() = request ? std::move(request) : ShutdownRequest(systemShutdown);
    return previous;
}

void requestShutdown()
{
    currentShutdown()();
}

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

ProgramStarter setProgramStarter(ProgramStarter starter)
{
    return std::exchange(currentStarter(), starter ? std::move(starter) : ProgramStarter(systemStart));
}

Launch startOrOpen(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return Launch::Missing;
    const QString absolute = file.absoluteFilePath();
    if (file.isExecutable() && isProgram(absolute))
        return currentStarter()(absolute) ? Launch::Started : Launch::Failed;
    return openUrl(QUrl::fromLocalFile(absolute)) ? Launch::Opened : Launch::Failed;
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
