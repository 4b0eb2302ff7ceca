// The music library over the mixer and the sound file readers.
#include "framework/sound/MusicLibrary.h"

#include "framework/sound/SoundReaders.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace Quoll
{
namespace
{
using Reader = bool (*)(SoundFile&, SampleSink&);

Reader DetectFormat(SoundFile& file)
{
    char magic[4] = {};
    if (!file.ReadTag(magic) || !file.Seek(0, SEEK_SET))
        return nullptr;
    if (std::memcmp(magic, "RIFF", 4) == 0)
        return &ReadWavSound;
    if (std::memcmp(magic, "OggS", 4) == 0)
        return &ReadOggSound;
    if (std::memcmp(magic, ".snd", 4) == 0)
        return &ReadAuSound;
    return nullptr;
}
} // namespace

AdrAudioDevicePtr AdrOpenDevice(const char*, const char*)
{
    auto output = Platform::MixerOutput::Acquire();
    return output ? std::make_shared<AdrAudioDevice>(std::move(output)) : nullptr;
}

AdrMIDIDevicePtr AdrOpenMIDIDevice(const char*)
{
    return nullptr;
}

AdrSampleSourcePtr AdrOpenSampleSource(const std::string& fileName, int)
{
    SoundFile file;
    if (!file.Open(fileName))
        return nullptr;
    const Reader reader = DetectFormat(file);
    VectorSampleSink sink(Platform::Mixer::kMaxBufferBytes);
    if (!reader || !reader(file, sink) || sink.samples.empty())
        return nullptr;
    return std::make_shared<AdrSampleSource>(AdrSampleSource{sink.format, std::move(sink.samples)});
}

AdrOutputStreamPtr AdrOpenSound(const AdrAudioDevicePtr& device, const AdrSampleSourcePtr& source,
                                bool)
{
    if (!device || !source)
        return nullptr;
    auto buffer = device->GetMixer().CreateBuffer(source->format, uint32_t(source->samples.size()));
    if (!buffer)
        return nullptr;
    std::copy(source->samples.begin(), source->samples.end(), buffer->Lock().begin());
    buffer->Unlock();
    return std::make_shared<AdrOutputStream>(std::move(buffer));
}

AdrOutputStream::AdrOutputStream(std::unique_ptr<Platform::MixerBuffer> buffer)
    : mBuffer(std::move(buffer))
{
}

void AdrOutputStream::play()
{
    mBuffer->Play(mRepeat);
}

void AdrOutputStream::stop()
{
    mBuffer->Stop();
}

void AdrOutputStream::reset()
{
    mBuffer->SetCurrentPosition(0);
}

bool AdrOutputStream::isPlaying() const
{
    return mBuffer->IsPlaying();
}

void AdrOutputStream::setRepeat(bool repeat)
{
    mRepeat = repeat;
    if (mBuffer->IsPlaying())
        mBuffer->Play(repeat);
}

// Linear volume to the buffer's attenuation in hundredths of a decibel.
void AdrOutputStream::setVolume(float volume)
{
    mVolume = std::clamp(volume, 0.0f, 1.0f);
    const int32_t attenuation =
        mVolume <= 0.0f ? Platform::MixerBuffer::kMinVolume
                        : int32_t(std::lround(2000.0 * std::log10(double(mVolume))));
    mBuffer->SetVolume(attenuation);
}

// A negative position (the "no offset" of a fade-in) leaves the stream where it is.
void AdrOutputStream::setPosition(int frame)
{
    if (frame >= 0)
        mBuffer->SetCurrentPosition(uint32_t(frame) * mBuffer->GetFormat().BlockAlign());
}

int AdrOutputStream::getPosition() const
{
    return int(mBuffer->GetCurrentPosition() / mBuffer->GetFormat().BlockAlign());
}
} // namespace Quoll
