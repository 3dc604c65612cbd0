// Preloaded (LD_PRELOAD) into a child test, it lets every fsync() and
// fdatasync() of the process through to the system and notes each, with the
// path of the file or folder synced, one line a call ("fsync /path"), in the
// file that TARVEX_SYNC_LOG names. So a test counts the real sync calls, not
// the program's own account of them.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

void note(const char *call, int fd)
{
    const char *log = std::getenv("TARVEX_SYNC_LOG");
    if (!log)
        return;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t length = ::readlink(link, target, sizeof target - 1);
    target[length < 0 ? 0 : length] = '\0';
    char line[sizeof target + 16];
    const int size = std::snprintf(line, sizeof line, "%s %s\n", call, target);
    const int out = ::open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (out < 0)
        return;
    if (::write(out, line, size_t(size)) < 0) {
        // Nothing to do: the test then finds the call missing.
    }
    ::close(out);
}

using SyncCall = int (*)(int);

SyncCall next(const char *name)
{
    return reinterpret_cast<SyncCall>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd)
{
    static const SyncCall system = next("fsync");
    note("fsync", fd);
    return system(fd);
}

extern "C" int fdatasync(int fd)
{
    static const SyncCall system = next("fdatasync");
    note("fdatasync", fd);
    return system(fd);
}
