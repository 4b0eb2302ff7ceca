#pragma once
// The process-wide audio output: one mixer and the device that plays it, shared by the sound
// effects and the music. Created by the first holder, closed when the last one lets go.
#include "framework/platform/audio/AudioDevice.h"
#include "framework/platform/audio/Mixer.h"

#include <memory>
#include <string>

namespace Quoll::Platform
{
class MixerOutput
{
public:
    // The shared output, opening it when nobody holds it. The back end is the one named, or
    // else by QUOLL_AUDIO when set, else by QUOLL_PLATFORM ("sdl" by default, "headless").
    // Null when its device cannot be opened; `error`, when given, then says why.
    [[nodiscard]] static std::shared_ptr<MixerOutput> Acquire(const std::string& backend = {},
                                                              std::string* error = nullptr);
    static std::string ChosenBackend();

    MixerOutput(std::shared_ptr<Mixer> mixer, std::unique_ptr<AudioDevice> device);
    ~MixerOutput();
    MixerOutput(const MixerOutput&) = delete;
    MixerOutput& operator=(const MixerOutput&) = delete;

    Mixer& GetMixer() { return *mMixer; }
    const char* GetBackendName() const { return mDevice->GetName(); }
    bool IsRealTime() const { return mDevice->IsRealTime(); }
    size_t RenderOffline(int16_t* stereoOut, size_t frames)
    {
        return mDevice->RenderOffline(stereoOut, frames);
    }

private:
    std::shared_ptr<Mixer> mMixer;
    std::unique_ptr<AudioDevice> mDevice;
};
} // namespace Quoll::Platform
