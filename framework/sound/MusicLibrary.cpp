// The music library over the mixer and the song decoders.
#include "framework/sound/MusicLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Quoll
{
namespace
{
// A sound decoded whole into a buffer of the mixer.
std::unique_ptr<Platform::MixerBuffer> DecodeWhole(Platform::Mixer& mixer, SongDecoder& decoder)
{
    const uint64_t bytes = uint64_t(decoder.GetFrames()) * decoder.GetFormat().BlockAlign();
    if (bytes > Platform::Mixer::kMaxBufferBytes)
        return nullptr;
    auto buffer = mixer.CreateBuffer(decoder.GetFormat(), uint32_t(bytes));
    if (!buffer)
        return nullptr;
    decoder.Read(buffer->Lock().data(), decoder.GetFrames()); // a shortfall stays silent
    buffer->Unlock();
    return buffer;
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
    auto decoder = OpenSongDecoder(fileName);
    return decoder ? std::make_shared<AdrSampleSource>(std::move(decoder)) : nullptr;
}

AdrOutputStreamPtr AdrOpenSound(const AdrAudioDevicePtr& device, const AdrSampleSourcePtr& source,
                                bool streaming)
{
    if (!device || !source)
        return nullptr;
    auto decoder = source->TakeDecoder();
    if (!decoder)
        return nullptr;
    if (streaming)
    {
        auto stream = device->GetMixer().CreateStream(std::move(decoder));
        return stream ? std::make_shared<AdrOutputStream>(std::move(stream)) : nullptr;
    }
    auto buffer = DecodeWhole(device->GetMixer(), *decoder);
    return buffer ? std::make_shared<AdrOutputStream>(std::move(buffer)) : nullptr;
}

AdrSampleSource::AdrSampleSource(std::unique_ptr<SongDecoder> decoder)
    : mFileName(decoder->GetName()), mFormat(decoder->GetFormat()),
      mFrames(decoder->GetFrames()), mDecoder(std::move(decoder))
{
}

std::unique_ptr<SongDecoder> AdrSampleSource::TakeDecoder()
{
    if (mDecoder)
        return std::move(mDecoder);
    return OpenSongDecoder(mFileName);
}

AdrOutputStream::AdrOutputStream(std::unique_ptr<Platform::MixerBuffer> buffer)
    : mBuffer(std::move(buffer))
{
}

AdrOutputStream::AdrOutputStream(std::unique_ptr<Platform::MixerStream> stream)
    : mStream(std::move(stream))
{
}

void AdrOutputStream::play()
{
    if (mStream)
        mStream->Play(mRepeat);
    else
        mBuffer->Play(mRepeat);
}

void AdrOutputStream::stop()
{
    if (mStream)
        mStream->Stop();
    else
        mBuffer->Stop();
}

void AdrOutputStream::reset()
{
    setPosition(0);
}

bool AdrOutputStream::isPlaying() const
{
    return mStream ? mStream->IsPlaying() : mBuffer->IsPlaying();
}

void AdrOutputStream::setRepeat(bool repeat)
{
    mRepeat = repeat;
    if (isPlaying())
        play();
}

// Linear volume to the voice's attenuation in hundredths of a decibel.
void AdrOutputStream::setVolume(float volume)
{
    mVolume = std::clamp(volume, 0.0f, 1.0f);
    const int32_t attenuation =
        mVolume <= 0.0f ? Platform::MixerBuffer::kMinVolume
                        : int32_t(std::lround(2000.0 * std::log10(double(mVolume))));
    if (mStream)
        mStream->SetVolume(attenuation);
    else
        mBuffer->SetVolume(attenuation);
}

// A negative position (the "no offset" of a fade-in) leaves the stream where it is.
void AdrOutputStream::setPosition(int frame)
{
    if (frame < 0)
        return;
    if (mStream)
        mStream->SetCurrentFrame(uint32_t(frame));
    else
        mBuffer->SetCurrentPosition(uint32_t(frame) * mBuffer->GetFormat().BlockAlign());
}

int AdrOutputStream::getPosition() const
{
    if (mStream)
        return int(mStream->GetCurrentFrame());
    return int(mBuffer->GetCurrentPosition() / mBuffer->GetFormat().BlockAlign());
}
} // namespace Quoll
