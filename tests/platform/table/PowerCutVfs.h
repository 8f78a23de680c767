#pragma once
// A SQLite VFS over the default one that can cut the power: every write goes
// to the disk at once, but what it overwrote is kept until the file is next
// synced. Cutting the power puts all of that back, as if no write since each
// file's last sync had reached the disk, and fails every later write, sync
// and delete, as a machine without power would, until the power is back.
// Registered as the default VFS, so the program's own connections use it.

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace PowerCut {

struct Undo {
    sqlite3_int64 offset = 0;
    std::string bytes;       // what the write overwrote (or the truncation cut off)
    sqlite3_int64 size = 0;  // the file's size before it
};

struct State {
    sqlite3_vfs *real = nullptr;
    sqlite3_vfs vfs{};
    sqlite3_io_methods methods{};
    std::map<std::string, std::vector<Undo>> unsynced; // by file path
    bool off = false;
    int syncs = 0;      // syncs begun since counting started
    int cutAtSync = 0;  // the sync (counted from 1) that the power fails at; 0: none
    std::vector<std::string> syncedFiles; // the file of each sync counted
};

inline State &state()
{
    static State s;
    return s;
}

struct File {
    sqlite3_file base;
    sqlite3_file *real;
    std::string path;
};

inline sqlite3_file *realOf(sqlite3_file *f)
{
    return reinterpret_cast<File *>(f)->real;
}

// Puts back what every unsynced write overwrote, newest first.
inline void cut()
{
    State &s = state();
    s.off = true;
    for (auto &[path, undos] : s.unsynced) {
        const int fd = ::open(path.c_str(), O_WRONLY);
        if (fd < 0)
            continue;
        for (auto u = undos.rbegin(); u != undos.rend(); ++u) {
            if (!u->bytes.empty() && ::pwrite(fd, u->bytes.data(), u->bytes.size(), off_t(u->offset)) < 0)
                break;
            if (::ftruncate(fd, off_t(u->size)) != 0)
                break;
        }
        ::close(fd);
    }
    s.unsynced.clear();
}

inline int xClose(sqlite3_file *f)
{
    sqlite3_file *real = realOf(f);
    const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
    reinterpret_cast<File *>(f)->path.~basic_string();
    return rc;
}

inline int xRead(sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}

inline void remember(sqlite3_file *f, sqlite3_int64 offset, sqlite3_int64 length)
{
    auto *file = reinterpret_cast<File *>(f);
    if (file->path.empty())
        return;
    sqlite3_file *real = file->real;
    Undo undo;
    real->pMethods->xFileSize(real, &undo.size);
    undo.offset = offset;
    const sqlite3_int64 present = std::max<sqlite3_int64>(0, std::min(undo.size, offset + length) - offset);
    undo.bytes.resize(size_t(present));
    if (present > 0)
        real->pMethods->xRead(real, undo.bytes.data(), int(present), offset);
    state().unsynced[file->path].push_back(std::move(undo));
}

inline int xWrite(sqlite3_file *f, const void *data, int amount, sqlite3_int64 offset)
{
    if (state().off)
        return SQLITE_IOERR_WRITE;
    remember(f, offset, amount);
    return realOf(f)->pMethods->xWrite(realOf(f), data, amount, offset);
}

inline int xTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    if (state().off)
        return SQLITE_IOERR_TRUNCATE;
    sqlite3_int64 now = 0;
    realOf(f)->pMethods->xFileSize(realOf(f), &now);
    if (now > size)
        remember(f, size, now - size);
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}

inline int xSync(sqlite3_file *f, int flags)
{
    State &s = state();
    if (s.off)
        return SQLITE_IOERR_FSYNC;
    auto *file = reinterpret_cast<File *>(f);
    ++s.syncs;
    s.syncedFiles.push_back(file->path);
    if (s.cutAtSync != 0 && s.syncs == s.cutAtSync) {
        cut();
        return SQLITE_IOERR_FSYNC;
    }
    const int rc = file->real->pMethods->xSync(file->real, flags);
    if (rc == SQLITE_OK)
        s.unsynced.erase(file->path);
    return rc;
}

inline int xFileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
inline int xLock(sqlite3_file *f, int level)
{
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
inline int xUnlock(sqlite3_file *f, int level)
{
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
inline int xCheckReservedLock(sqlite3_file *f, int *out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
inline int xFileControl(sqlite3_file *f, int op, void *arg)
{
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
inline int xSectorSize(sqlite3_file *f)
{
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
inline int xDeviceCharacteristics(sqlite3_file *f)
{
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}
inline int xShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **out)
{
    return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, out);
}
inline int xShmLock(sqlite3_file *f, int offset, int n, int flags)
{
    return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
}
inline void xShmBarrier(sqlite3_file *f)
{
    realOf(f)->pMethods->xShmBarrier(realOf(f));
}
inline int xShmUnmap(sqlite3_file *f, int deleteFlag)
{
    return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag);
}
inline int xFetch(sqlite3_file *f, sqlite3_int64 offset, int amount, void **out)
{
    return realOf(f)->pMethods->xFetch(realOf(f), offset, amount, out);
}
inline int xUnfetch(sqlite3_file *f, sqlite3_int64 offset, void *page)
{
    return realOf(f)->pMethods->xUnfetch(realOf(f), offset, page);
}

inline int xOpen(sqlite3_vfs *, const char *name, sqlite3_file *f, int flags, int *outFlags)
{
    State &s = state();
    auto *file = reinterpret_cast<File *>(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    new (&file->path) std::string(name ? name : "");
    const int rc = s.real->xOpen(s.real, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK || !file->real->pMethods) {
        file->path.~basic_string();
        return rc;
    }
    if (s.methods.iVersion == 0) {
        s.methods = *file->real->pMethods;
        s.methods.xClose = xClose;
        s.methods.xRead = xRead;
        s.methods.xWrite = xWrite;
        s.methods.xTruncate = xTruncate;
        s.methods.xSync = xSync;
        s.methods.xFileSize = xFileSize;
        s.methods.xLock = xLock;
        s.methods.xUnlock = xUnlock;
        s.methods.xCheckReservedLock = xCheckReservedLock;
        s.methods.xFileControl = xFileControl;
        s.methods.xSectorSize = xSectorSize;
        s.methods.xDeviceCharacteristics = xDeviceCharacteristics;
        if (s.methods.iVersion >= 2) {
            s.methods.xShmMap = xShmMap;
            s.methods.xShmLock = xShmLock;
            s.methods.xShmBarrier = xShmBarrier;
            s.methods.xShmUnmap = xShmUnmap;
        }
        if (s.methods.iVersion >= 3) {
            s.methods.xFetch = xFetch;
            s.methods.xUnfetch = xUnfetch;
        }
    }
    file->base.pMethods = &s.methods;
    return SQLITE_OK;
}

inline int xDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    State &s = state();
    if (s.off)
        return SQLITE_IOERR_DELETE;
    s.unsynced.erase(name);
    return s.real->xDelete(s.real, name, syncDir);
}

// Registers the VFS as the default one (once).
inline void install()
{
    State &s = state();
    if (s.real)
        return;
    s.real = sqlite3_vfs_find(nullptr);
    s.vfs = *s.real;
    s.vfs.zName = "powercut";
    s.vfs.szOsFile = int(sizeof(File)) + s.real->szOsFile;
    s.vfs.xOpen = xOpen;
    s.vfs.xDelete = xDelete;
    s.vfs.pNext = nullptr;
    sqlite3_vfs_register(&s.vfs, 1);
}

inline void uninstall()
{
    State &s = state();
    if (!s.real)
        return;
    sqlite3_vfs_unregister(&s.vfs);
    sqlite3_vfs_register(s.real, 1);
    s.real = nullptr;
}

// Counts syncs from now on; the power fails at the `cutAtSync`-th (0: never).
inline void startCounting(int cutAtSync = 0)
{
    State &s = state();
    s.syncs = 0;
    s.cutAtSync = cutAtSync;
    s.syncedFiles.clear();
}

// The power is back: the disk holds what was synced before the cut.
inline void restore()
{
    State &s = state();
    s.off = false;
    s.cutAtSync = 0;
    s.unsynced.clear();
}

} // namespace PowerCut
