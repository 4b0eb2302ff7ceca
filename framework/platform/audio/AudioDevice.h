#pragma once
// Audio output back ends. Each one drives a Mixer: "sdl" pulls the mix from SDL2's audio thread
// (44.1 kHz, 16-bit stereo; SDL converts when the hardware differs), "headless" has no device at
// all and renders the mix only when asked (tests, demo replays).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Quoll::Platform
{
class Mixer;

class AudioDevice
{
public:
    virtual ~AudioDevice() = default;
    // Starts taking the mix from the mixer; false when there is no device to open.
    virtual bool Open(std::shared_ptr<Mixer> mixer) = 0;
    // Why Open failed, in the device library's words (empty when it did not).
    virtual std::string GetError() const { return {}; }
    virtual const char* GetName() const = 0;
    // True when the device takes the mix by itself in real time.
    virtual bool IsRealTime() const = 0;
    // Renders frames of the mix now; only an offline device does (0 otherwise).
    virtual size_t RenderOffline(int16_t* stereoOut, size_t frames) = 0;
};

// Back ends, not yet open.
std::unique_ptr<AudioDevice> CreateSdlAudioDevice();
std::unique_ptr<AudioDevice> CreateOfflineAudioDevice();
} // namespace Quoll::Platform
