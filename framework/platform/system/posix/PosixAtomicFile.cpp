// Atomic whole-file writes: temporary file beside the target, fsync, rename, then the
// folder is synced so the rename itself survives a power cut.
// Limits: the temporary name is "<file>.tmp<pid>"; two processes writing one file race
// (the last rename wins, each file whole). A process killed during a write leaves its
// temporary file: each write first removes those of the same target whose process is gone.
#include "framework/platform/system/AtomicFile.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/PlatformLog.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
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

// The process id in a name "<file name>.tmp<digits>", or 0 when the name is not one.
pid_t TemporaryOwner(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.size() - prefix.size() > 9)
        return 0;
    pid_t pid = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i)
    {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

bool ProcessIsGone(pid_t pid)
{
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

std::string FolderOf(const std::string& target)
{
    size_t slash = target.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
}
} // namespace

size_t RemoveStaleTemporaryFiles(std::string_view path)
{
    const std::string target = ResolvePathCase(path);
    const std::string folder = FolderOf(target);
    const size_t slash = target.rfind('/');
    const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + ".tmp";
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr)
        return 0;
    const int savedErrno = errno;
    size_t removed = 0;
    while (const dirent* entry = ::readdir(directory))
    {
        const pid_t owner = TemporaryOwner(entry->d_name, prefix);
        if (owner <= 0 || owner == ::getpid() || !ProcessIsGone(owner))
            continue;
        if (::unlinkat(::dirfd(directory), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(directory);
    errno = savedErrno;
    return removed;
}

namespace
{
bool Fail(const std::string& path, const char* step)
{
    LogLine("AtomicFile", std::string(step) + " failed for " + path + ": " + std::strerror(errno));
    return false;
}
} // namespace

bool WriteFileAtomically(std::string_view path, std::span<const uint8_t> bytes)
{
    std::string target = ResolvePathCase(path);
    RemoveStaleTemporaryFiles(target);
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
    const std::string folder = FolderOf(target);
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
