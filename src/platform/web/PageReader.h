#pragma once
// The page reader: a child process (`tarnel_page`) that parses a fetched page
// for Document::parse under hard limits of memory and CPU time. The parser
// fed a hostile page may take gigabytes or minutes however the page is
// trimmed first; in a process of its own, such a page costs the program a
// refusal and nothing more.

#include <QByteArray>
#include <QString>

#include <optional>

namespace Web {

// Whether this build runs under a sanitizer, which reserves terabytes of
// address space for itself and slows the parse several times.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool readerSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool readerSanitized = true;
#else
inline constexpr bool readerSanitized = false;
#endif
#else
inline constexpr bool readerSanitized = false;
#endif

// The page reader's address space: a plain page at the fetch's size limit
// (a table of 100,000 cells) takes under 160 MB of it, the libraries mapped
// included. Not set under a sanitizer, whose own reservation would break it.
inline constexpr int readerMemoryMegabytes = 512;
// The page reader's CPU time: over twice what that page takes (0.8 s).
inline constexpr int readerCpuSeconds = readerSanitized ? 10 : 2;
// Wall-clock time after which the page reader is killed, however it spends it.
inline constexpr int readerTimeoutMs = readerSanitized ? 50000 : 10000;

// The page reader's program: the one the environment variable
// TARNEL_PAGE_READER names, or `tarnel_page` beside the running program.
QString pageReaderPath();

// What the page reader reads from its input: the page and the reply's Content-Type.
struct ReaderRequest {
    QByteArray bytes;
    QByteArray contentType;
};
QByteArray writeRequest(const ReaderRequest &request);
std::optional<ReaderRequest> readRequest(const QByteArray &data);

} // namespace Web
