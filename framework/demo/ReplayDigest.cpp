#include "framework/demo/ReplayDigest.h"

#include "framework/files/ImageLib.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace QuollReplay
{
uint64_t HashBytes(const void* data, size_t size, uint64_t hash)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

ReplayDigest::ReplayDigest()
{
    const char* folder = std::getenv("QUOLL_REPLAY_DIGESTS");
    if (folder == nullptr || *folder == '\0')
        return;
    mFolder = folder;
    if (const char* every = std::getenv("QUOLL_REPLAY_EVERY"); every != nullptr && std::atoi(every) > 0)
        mEvery = std::atoi(every);
    if (const char* list = std::getenv("QUOLL_REPLAY_CHECKPOINTS"))
    {
        std::stringstream in(list);
        std::string item;
        while (std::getline(in, item, ','))
            if (!item.empty())
                mCheckpoints.insert(std::atoi(item.c_str()));
    }
    mOut.open(mFolder + "/digests.txt", std::ios::trunc);
}

void ReplayDigest::Update(int updateCount, uint64_t stateHash, const uint32_t* pixels, int width, int height)
{
    if (!Enabled())
        return;
    char hex[32];
    if (updateCount % mEvery == 0)
    {
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(stateHash));
        mOut << "digest " << updateCount << ' ' << hex << '\n';
    }
    if (mCheckpoints.count(updateCount) == 0 || pixels == nullptr || width <= 0 || height <= 0)
        return;
    const size_t count = size_t(width) * size_t(height);
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(HashBytes(pixels, count * sizeof(uint32_t))));
    const std::string png = mFolder + "/screen" + std::to_string(updateCount) + ".png";
    ImageLib::Image image(width, height);
    if (image.GetBits() != nullptr)
    {
        std::memcpy(image.GetBits(), pixels, count * sizeof(uint32_t));
        ImageLib::WritePng(png, image);
    }
    mOut << "screen " << updateCount << ' ' << hex << ' ' << png << '\n';
    mOut.flush();
}

void ReplayDigest::Finish(int updateCount, uint64_t stateHash)
{
    if (!Enabled())
        return;
    char hex[32];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(stateHash));
    mOut << "end " << updateCount << ' ' << hex << '\n';
    mOut.flush();
}
} // namespace QuollReplay
