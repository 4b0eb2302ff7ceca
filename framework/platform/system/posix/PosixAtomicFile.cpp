// Atomic whole-file writes: temporary file beside the target, fsync, rename, then the
// folder is synced so the rename itself survives a power cut.
// Limits: the temporary name is "<file>.tmp<pid>"; two processes writing one file race
// (the last rename wins, each file whole).
#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/PlatformLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace Quoll::Platform
{
namespace
{
bool WriteAll(int fd, std::span<const uint8_t> bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Fail(const std::string& path, const char* step)
{
    LogLine("AtomicFile", std::string(step) + " failed for " + path + ": " + std::strerror(errno));
    return false;
}
} // namespace

bool WriteFileAtomically(std::string_view path, std::span<const uint8_t> bytes)
{
    std::string target = ResolvePathCase(path);
    std::string temporary = target + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return Fail(target, "create");
    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0)
    {
        int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return Fail(target, written ? "rename" : "write");
    }
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0)
    {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view path)
{
    std::string target = ResolvePathCase(path);
    int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    for (;;)
    {
        ssize_t n = ::read(fd, chunk, sizeof(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}
} // namespace Quoll::Platform
