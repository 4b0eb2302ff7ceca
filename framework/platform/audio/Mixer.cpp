// The voice list and the render loop of the software mixer.
#include "framework/platform/audio/Mixer.h"
#include "framework/platform/system/PlatformLog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace Quoll::Platform
{
namespace
{
constexpr size_t kChunkFrames = 512;

bool ReferenceRequested()
{
    const char* value = std::getenv("QUOLL_MIXER_REFERENCE");
    return value && *value && std::strcmp(value, "0") != 0;
}
} // namespace

std::shared_ptr<Mixer> Mixer::Create(uint32_t outputRate, size_t voiceLimit)
{
    return std::shared_ptr<Mixer>(new Mixer(outputRate, voiceLimit));
}

Mixer::Mixer(uint32_t outputRate, size_t voiceLimit)
    : mOutputRate(std::max<uint32_t>(outputRate, 1)), mVoiceLimit(voiceLimit),
      mUseReference(ReferenceRequested())
{
    mBuffers.reserve(voiceLimit);
}

Mixer::~Mixer() = default;

std::unique_ptr<MixerBuffer> Mixer::CreateBuffer(const AudioFormat& format, uint32_t bytes)
{
    if (!format.IsValid() || bytes < format.BlockAlign() || bytes > kMaxBufferBytes)
        return nullptr;
    std::shared_ptr<std::vector<uint8_t>> data;
    try
    {
        const uint32_t whole = bytes - bytes % format.BlockAlign();
        const uint8_t silence = format.bitsPerSample == 8 ? 0x80 : 0;
        data = std::make_shared<std::vector<uint8_t>>(whole, silence);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    std::lock_guard lock(mLock);
    std::unique_ptr<MixerBuffer> buffer(new MixerBuffer(shared_from_this(), format, data));
    AddBuffer(buffer.get());
    return buffer;
}

std::unique_ptr<MixerStream> Mixer::CreateStream(std::unique_ptr<StreamSource> source,
                                                 uint32_t ringFrames)
{
    if (!source || !source->GetFormat().IsValid() || source->GetFrames() == 0)
        return nullptr;
    std::unique_ptr<MixerStream> stream;
    try
    {
        stream.reset(new MixerStream(shared_from_this(), mFeeder, std::move(source), ringFrames));
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    mFeeder.FillNow(*stream, stream->GetRingFrames());
    {
        std::lock_guard lock(mLock);
        mStreams.push_back(stream.get());
    }
    mFeeder.Add(stream.get());
    return stream;
}

void Mixer::FillStreamsOnRender()
{
    mFeeder.SetThreaded(false);
}

void Mixer::RemoveStream(MixerStream* stream)
{
    std::lock_guard lock(mLock);
    std::erase(mStreams, stream);
}

void Mixer::AddBuffer(MixerBuffer* buffer)
{
    mBuffers.push_back(buffer);
}

void Mixer::RemoveBuffer(MixerBuffer* buffer)
{
    std::lock_guard lock(mLock);
    auto it = std::find(mBuffers.begin(), mBuffers.end(), buffer);
    if (it == mBuffers.end())
        return;
    *it = mBuffers.back();
    mBuffers.pop_back();
}

size_t Mixer::CountPlaying() const
{
    return size_t(std::count_if(mBuffers.begin(), mBuffers.end(),
                                [](const MixerBuffer* b) { return b->mVoice.playing; })) +
           size_t(std::count_if(mStreams.begin(), mStreams.end(),
                                [](const MixerStream* s) { return s->mPlaying; }));
}

bool Mixer::CanStartVoice()
{
    if (CountPlaying() < mVoiceLimit)
        return true;
    if (!mRefusalLogged)
    {
        mRefusalLogged = true;
        LogLine("Mixer", "all " + std::to_string(mVoiceLimit) + " voices are playing; a sound was not started");
    }
    return false;
}

void Mixer::Render(int16_t* stereoOut, size_t frames)
{
    RenderWith(stereoOut, frames, mUseReference ? MixVoiceReference : MixVoiceFast);
}

void Mixer::RenderReference(int16_t* stereoOut, size_t frames)
{
    RenderWith(stereoOut, frames, MixVoiceReference);
}

void Mixer::RenderWith(int16_t* out, size_t frames, void (*kernel)(MixerVoice&, int32_t*, size_t))
{
    int32_t acc[2 * kChunkFrames];
    std::lock_guard lock(mLock);
    const int32_t master = mMasterVolume == 65535 ? kUnityGain : int32_t(mMasterVolume);
    const bool fillOnDemand = !mFeeder.IsThreaded();
    while (frames > 0)
    {
        const size_t chunk = std::min(frames, kChunkFrames);
        std::memset(acc, 0, sizeof(int32_t) * 2 * chunk);
        for (MixerBuffer* voice : mBuffers)
            if (voice->mVoice.playing)
                kernel(voice->mVoice, acc, chunk);
        for (MixerStream* stream : mStreams)
            stream->MixInto(kernel, acc, chunk, fillOnDemand);
        FinishMix(acc, out, chunk, master);
        out += 2 * chunk;
        frames -= chunk;
    }
}

void Mixer::SetMasterVolume(uint16_t volume)
{
    std::lock_guard lock(mLock);
    mMasterVolume = volume;
}

uint16_t Mixer::GetMasterVolume() const
{
    std::lock_guard lock(mLock);
    return mMasterVolume;
}

size_t Mixer::GetBufferCount() const
{
    std::lock_guard lock(mLock);
    return mBuffers.size();
}

size_t Mixer::GetPlayingVoiceCount() const
{
    std::lock_guard lock(mLock);
    return CountPlaying();
}
} // namespace Quoll::Platform
