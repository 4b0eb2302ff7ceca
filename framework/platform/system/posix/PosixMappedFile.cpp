// Read-only private mmap of a whole file.
// Limits: a file changed by another program while mapped may show the change; a file
// truncated while mapped faults on access (pack files are not changed while the game runs).
#include "framework/platform/system/MappedFile.h"
#include "framework/platform/system/Path.h"

#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace Quoll::Platform
{
MappedFile::MappedFile(MappedFile&& other) noexcept
    : mData(std::exchange(other.mData, nullptr)), mSize(std::exchange(other.mSize, 0)),
      mOpen(std::exchange(other.mOpen, false))
{
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other)
    {
        Close();
        mData = std::exchange(other.mData, nullptr);
        mSize = std::exchange(other.mSize, 0);
        mOpen = std::exchange(other.mOpen, false);
    }
    return *this;
}

bool MappedFile::Open(std::string_view path)
{
    Close();
    int fd = ::open(ResolvePathCase(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        ::close(fd);
        return false;
    }
    size_t size = static_cast<size_t>(st.st_size);
    void* data = nullptr;
    if (size > 0)
    {
        data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (data == MAP_FAILED)
        {
            ::close(fd);
            return false;
        }
    }
    ::close(fd); // the mapping keeps the file
    mData = static_cast<const uint8_t*>(data);
    mSize = size;
    mOpen = true;
    return true;
}

void MappedFile::Close()
{
    if (mData != nullptr)
        ::munmap(const_cast<uint8_t*>(mData), mSize);
    mData = nullptr;
    mSize = 0;
    mOpen = false;
}
} // namespace Quoll::Platform
