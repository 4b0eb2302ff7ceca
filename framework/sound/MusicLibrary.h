#pragma once
// The small music library the game's player is written against, served by the shared mixer:
// an audio device, sample sources (WAV, Ogg Vorbis and AU files, detected from their first
// bytes and opened for decoding), output streams that play a source (streamed: decoded ahead
// a block at a time by the mixer's feeder; or else decoded whole into a buffer), and a MIDI
// device, which is never there: AdrOpenMIDIDevice answers null, as on a machine without one.
// Counted references are shared pointers.
#include "framework/platform/audio/AudioFormat.h"
#include "framework/platform/audio/MixerBuffer.h"
#include "framework/platform/audio/MixerOutput.h"
#include "framework/platform/audio/MixerStream.h"
#include "framework/sound/SongDecoder.h"

#include <memory>
#include <string>
#include <vector>

namespace Quoll
{
class AdrAudioDevice
{
public:
    explicit AdrAudioDevice(std::shared_ptr<Platform::MixerOutput> output)
        : mOutput(std::move(output))
    {
    }
    Platform::Mixer& GetMixer() { return mOutput->GetMixer(); }
    Platform::MixerOutput& GetOutput() { return *mOutput; }
    // The mixer runs by itself; nothing is left to do per update.
    void update() {}

private:
    std::shared_ptr<Platform::MixerOutput> mOutput;
};

// An opened sound file. The first sound made from it takes its decoder; later ones open the
// file again.
class AdrSampleSource
{
public:
    explicit AdrSampleSource(std::unique_ptr<SongDecoder> decoder);
    const Platform::AudioFormat& GetFormat() const { return mFormat; }
    uint32_t GetFrames() const { return mFrames; }
    // Null when the file can no longer be opened.
    std::unique_ptr<SongDecoder> TakeDecoder();

private:
    std::string mFileName;
    Platform::AudioFormat mFormat;
    uint32_t mFrames;
    std::unique_ptr<SongDecoder> mDecoder;
};

// One playing copy of a source over a mixer voice: a stream or a whole buffer.
class AdrOutputStream
{
public:
    explicit AdrOutputStream(std::unique_ptr<Platform::MixerBuffer> buffer);
    explicit AdrOutputStream(std::unique_ptr<Platform::MixerStream> stream);
    void play();
    void stop();  // keeps the position
    void reset(); // back to the start
    bool isPlaying() const;
    void setRepeat(bool repeat);
    bool getRepeat() const { return mRepeat; }
    void setVolume(float volume); // 0..1, linear
    float getVolume() const { return mVolume; }
    void setPosition(int frame);
    int getPosition() const;

    // Null for a sound decoded whole.
    const Platform::MixerStream* GetStream() const { return mStream.get(); }

private:
    std::unique_ptr<Platform::MixerBuffer> mBuffer;
    std::unique_ptr<Platform::MixerStream> mStream;
    float mVolume = 1.0f;
    bool mRepeat = false;
};

class AdrMIDIStream
{
public:
    virtual ~AdrMIDIStream() = default;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void pause() = 0;
    virtual bool isPlaying() = 0;
    virtual void setRepeat(bool repeat) = 0;
    virtual void setPosition(int position) = 0;
    virtual int getPosition() = 0;
};

class AdrMIDIDevice
{
public:
    virtual ~AdrMIDIDevice() = default;
    virtual std::shared_ptr<AdrMIDIStream> openStream(const std::string& fileName) = 0;
};

using AdrAudioDevicePtr = std::shared_ptr<AdrAudioDevice>;
using AdrSampleSourcePtr = std::shared_ptr<AdrSampleSource>;
using AdrOutputStreamPtr = std::shared_ptr<AdrOutputStream>;
using AdrMIDIDevicePtr = std::shared_ptr<AdrMIDIDevice>;
using AdrMIDIStreamPtr = std::shared_ptr<AdrMIDIStream>;

// The shared audio output; null when none can be opened.
AdrAudioDevicePtr AdrOpenDevice(const char* name = nullptr, const char* parameters = nullptr);
// Null: there is no MIDI device.
AdrMIDIDevicePtr AdrOpenMIDIDevice(const char* name = nullptr);
// Null when the file cannot be opened or is in no format known here (format 0 detects it).
AdrSampleSourcePtr AdrOpenSampleSource(const std::string& fileName, int format = 0);
// A stopped stream of the source, streamed or decoded whole; null without a device or source.
AdrOutputStreamPtr AdrOpenSound(const AdrAudioDevicePtr& device, const AdrSampleSourcePtr& source,
                                bool streaming);
} // namespace Quoll
