#include "framework/platform/window/sdl/SdlPresentStats.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace Quoll::Platform
{
SdlPresentStats::SdlPresentStats()
{
    const char* path = std::getenv("QUOLL_PRESENT_STATS");
    if (path != nullptr && *path != '\0')
        mFile = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

SdlPresentStats::~SdlPresentStats()
{
    if (mFile >= 0)
        ::close(mFile);
}

void SdlPresentStats::Counted()
{
    ++mCount;
    if (mFile < 0)
        return;
    // One write at the start of the file, of a fixed width.
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%20llu\n", static_cast<unsigned long long>(mCount));
    if (::pwrite(mFile, text, static_cast<size_t>(length), 0) != length)
    {
        ::close(mFile);
        mFile = -1;
    }
}
} // namespace Quoll::Platform
