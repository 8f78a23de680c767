#include "awards/AwardsBehind.h"

#include "platform/table/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace AwardsBehind {

namespace {

[[noreturn]] void cannotWrite(const QString &path, int error)
{
    throw Db::TableError(
        QStringLiteral("Cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))), path);
}

// Written through no link that may stand at its name, and synced with its
// directory entry: a power cut right after must still find it.
void writeSynced(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        cannotWrite(path, errno);
    static const char text[] = "The award tables may lag behind this log: the next start rebuilds them.\n";
    const bool written = ::write(fd, text, sizeof text - 1) == ssize_t(sizeof text - 1) && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!written) {
        ::unlink(name.constData());
        cannotWrite(path, error);
    }
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

QString markPath(const QString &logPath)
{
    return QFileInfo(logPath).absoluteDir().filePath(QStringLiteral("AwardsBehind.mark"));
}

bool isMarked(const QString &logPath)
{
    return QFileInfo(markPath(logPath)).isFile();
}

void clear(const QString &logPath) noexcept
{
    // Not synced: a mark that comes back after a power cut only costs a
    // rebuild that was not needed.
    ::unlink(QFile::encodeName(markPath(logPath)).constData());
}

Walk::Walk(const QString &logPath, Marks marks) : logPath_(logPath), marks_(marks), markedBefore_(isMarked(logPath))
{
    if (!markedBefore_)
        writeSynced(markPath(logPath_));
}

Walk::~Walk()
{
    if (!logAhead_ && !markedBefore_)
        clear(logPath_);
}

void Walk::awardsCommitted()
{
    // A lag from before this walk stays unless the walk marked the whole log.
    if (!markedBefore_ || marks_ == Marks::WholeLog)
        clear(logPath_);
}

} // namespace AwardsBehind
