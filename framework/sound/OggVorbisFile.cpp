// Ogg Vorbis through the integer decoder, reading through SoundFile.
#include "framework/sound/OggVorbisFile.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>

namespace Quoll
{
namespace
{
// Decoded bytes allowed per compressed byte: far above what an encoder produces even for
// silence.
constexpr int64_t kMaxExpansion = 4096;
constexpr int64_t kMinAllowance = 1 << 20;

size_t ReadCallback(void* destination, size_t size, size_t count, void* source)
{
    return static_cast<SoundFile*>(source)->Read(destination, size, count);
}

int SeekCallback(void* source, ogg_int64_t offset, int origin)
{
    auto* file = static_cast<SoundFile*>(source);
    if (!file || !file->IsOpen())
        return -1;
    return file->Seek(offset, origin) ? 0 : -1;
}

int CloseCallback(void*)
{
    return 0; // the SoundFile closes itself
}

long TellCallback(void* source)
{
    return long(static_cast<SoundFile*>(source)->Tell());
}
} // namespace

struct OggVorbisFile::State
{
    OggVorbis_File file{};
    bool open = false;
    int section = -1;
};

OggVorbisFile::OggVorbisFile() : mState(std::make_unique<State>()) {}

OggVorbisFile::~OggVorbisFile()
{
    if (mState->open)
        ov_clear(&mState->file);
}

bool OggVorbisFile::Open(SoundFile& file)
{
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    mState->open = ov_open_callbacks(&file, &mState->file, nullptr, 0, callbacks) == 0;
    if (!mState->open)
        return false;
    const vorbis_info* info = ov_info(&mState->file, -1);
    mFrames = ov_pcm_total(&mState->file, -1);
    if (!info || info->channels < 1 || info->channels > 2 || mFrames <= 0)
        return false;
    mFormat = {uint16_t(info->channels), uint32_t(info->rate), 16};
    const int64_t bytes = mFrames * info->channels * 2;
    return bytes <= std::max(kMinAllowance, file.Size() * kMaxExpansion);
}

long OggVorbisFile::Read(uint8_t* out, int bytes)
{
    int section = 0;
    const long got = ov_read(&mState->file, reinterpret_cast<char*>(out), bytes, &section);
    if (got > 0 && section != mState->section)
    {
        // A chained stream may change its layout from one link to the next.
        const vorbis_info* info = ov_info(&mState->file, section);
        if (!info || info->channels != mFormat.channels || uint32_t(info->rate) != mFormat.samplesPerSecond)
            return -1;
        mState->section = section;
    }
    return got;
}

bool OggVorbisFile::Seek(int64_t frame)
{
    return ov_pcm_seek(&mState->file, frame) == 0;
}
} // namespace Quoll
