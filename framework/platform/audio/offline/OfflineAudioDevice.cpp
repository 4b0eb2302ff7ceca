// Offline audio output. Supports: rendering the mix on request, with no device and no thread
// (songs are decoded as the render needs them), so tests and replays hear exactly the frames
// they ask for. When QUOLL_AUDIO_DUMP names a
// file, every rendered frame is also kept and written there as a 44.1 kHz 16-bit stereo WAV
// when the device closes, as evidence for a failing run.
#include "framework/platform/audio/AudioDevice.h"
#include "framework/platform/audio/Mixer.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace Quoll::Platform
{
namespace
{
void PutU32(std::FILE* file, uint32_t value)
{
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    std::fwrite(bytes, 1, 4, file);
}

void PutU16(std::FILE* file, uint16_t value)
{
    const uint8_t bytes[2] = {uint8_t(value), uint8_t(value >> 8)};
    std::fwrite(bytes, 1, 2, file);
}

void WriteWav(const std::string& path, const std::vector<int16_t>& samples, uint32_t rate)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    const uint32_t bytes = uint32_t(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    PutU32(file, bytes + 36);
    std::fwrite("WAVEfmt ", 1, 8, file);
    PutU32(file, 16);
    PutU16(file, 1);
    PutU16(file, 2);
    PutU32(file, rate);
    PutU32(file, rate * 4);
    PutU16(file, 4);
    PutU16(file, 16);
    std::fwrite("data", 1, 4, file);
    PutU32(file, bytes);
    for (int16_t sample : samples)
        PutU16(file, uint16_t(sample));
    std::fclose(file);
}

class OfflineAudioDevice : public AudioDevice
{
public:
    bool Open(std::shared_ptr<Mixer> mixer) override
    {
        mMixer = std::move(mixer);
        mMixer->FillStreamsOnRender();
        if (const char* dump = std::getenv("QUOLL_AUDIO_DUMP"); dump && *dump)
            mDumpPath = dump;
        return true;
    }

    ~OfflineAudioDevice() override
    {
        if (!mDumpPath.empty() && mMixer)
            WriteWav(mDumpPath, mDump, mMixer->GetOutputRate());
    }

    const char* GetName() const override { return "headless"; }
    bool IsRealTime() const override { return false; }

    size_t RenderOffline(int16_t* stereoOut, size_t frames) override
    {
        mMixer->Render(stereoOut, frames);
        if (!mDumpPath.empty())
            mDump.insert(mDump.end(), stereoOut, stereoOut + 2 * frames);
        return frames;
    }

private:
    std::shared_ptr<Mixer> mMixer;
    std::string mDumpPath;
    std::vector<int16_t> mDump;
};
} // namespace

std::unique_ptr<AudioDevice> CreateOfflineAudioDevice()
{
    return std::make_unique<OfflineAudioDevice>();
}
} // namespace Quoll::Platform
