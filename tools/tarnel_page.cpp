// The page reader: parses one fetched web page for the program, in a process
// of its own under hard limits of memory and CPU time, so that a page which
// makes the parser take gigabytes or minutes ends this process and nothing else.
//   tarnel_page < request > document
// The request and the document are as platform/web/PageReader.h writes them.
// TARNEL_PAGE_CPU_SECONDS and TARNEL_PAGE_MEMORY_MB lower the limits, for tests.

#include "platform/web/PageReader.h"
#include "platform/web/WebPage.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

// A limit from the environment, taken only when it is lower than `fallback`.
rlim_t lowered(const char *variable, rlim_t fallback)
{
    bool ok = false;
    const qlonglong value = qEnvironmentVariable(variable).toLongLong(&ok);
    return ok && value > 0 && rlim_t(value) < fallback ? rlim_t(value) : fallback;
}

bool limit(int resource, rlim_t soft, rlim_t hard)
{
    const rlimit value{soft, hard};
    return setrlimit(resource, &value) == 0;
}

} // namespace

int main()
{
    // Set before anything of the page is read. Past the soft CPU limit the
    // kernel sends SIGXCPU, which ends the process; the hard one a second
    // later kills it should that signal be caught. A process ended so
    // leaves no core file.
    const rlim_t cpu = lowered("TARNEL_PAGE_CPU_SECONDS", Web::readerCpuSeconds);
    const rlim_t megabytes = lowered("TARNEL_PAGE_MEMORY_MB", Web::readerMemoryMegabytes);
    bool limited = limit(RLIMIT_CORE, 0, 0) && limit(RLIMIT_CPU, cpu, cpu + 1);
    if (!Web::readerSanitized)
        limited = limited && limit(RLIMIT_AS, megabytes * 1024 * 1024, megabytes * 1024 * 1024);
    if (!limited) {
        std::perror("tarnel_page: setrlimit");
        return 3;
    }

    QFile in;
    QFile out;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly))
        return 2;
    const std::optional<Web::ReaderRequest> request = Web::readRequest(in.readAll());
    if (!request)
        return 2;
    const QByteArray document = Web::Document::parseHere(request->bytes, request->contentType).flattened();
    if (out.write(document) != document.size() || !out.flush())
        return 2;
    return 0;
}
