// SDL2 audio output. Supports: one playback device at 44.1 kHz, 16-bit stereo, fed by the
// mixer from SDL's audio thread (SDL converts for hardware that wants another format). With
// SDL_AUDIODRIVER=dummy it runs without sound hardware; with "disk" it writes the mix to
// SDL_DISKAUDIOFILE. Limits: no capture, no device choice, no hot-plug handling.
#include "framework/platform/audio/AudioDevice.h"
#include "framework/platform/audio/Mixer.h"
#include "framework/platform/system/BackendTable.h"
#include "framework/platform/system/PlatformLog.h"

#include <SDL.h>

#include <string>

namespace Quoll::Platform
{
namespace
{
class SdlAudioDevice : public AudioDevice
{
public:
    ~SdlAudioDevice() override
    {
        if (mDevice != 0)
            SDL_CloseAudioDevice(mDevice);
        if (mSubsystemUp)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Open(std::shared_ptr<Mixer> mixer) override
    {
        mMixer = std::move(mixer);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        {
            mError = SDL_GetError();
            LogLine("audio", "SDL audio unavailable: " + mError);
            return false;
        }
        mSubsystemUp = true;
        SDL_AudioSpec wanted{};
        wanted.freq = int(mMixer->GetOutputRate());
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 1024;
        wanted.callback = &SdlAudioDevice::Callback;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        mDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (mDevice == 0)
        {
            mError = SDL_GetError();
            LogLine("audio", "cannot open an audio device: " + mError);
            return false;
        }
        SDL_PauseAudioDevice(mDevice, 0);
        return true;
    }

    std::string GetError() const override { return mError; }
    const char* GetName() const override { return "sdl"; }
    bool IsRealTime() const override { return true; }
    size_t RenderOffline(int16_t*, size_t) override { return 0; }

private:
    static void Callback(void* self, Uint8* stream, int length)
    {
        auto* device = static_cast<SdlAudioDevice*>(self);
        device->mMixer->Render(reinterpret_cast<int16_t*>(stream), size_t(length) / 4);
    }

    std::shared_ptr<Mixer> mMixer;
    SDL_AudioDeviceID mDevice = 0;
    bool mSubsystemUp = false;
    std::string mError;
};
} // namespace

std::unique_ptr<AudioDevice> CreateSdlAudioDevice()
{
    return std::make_unique<SdlAudioDevice>();
}

namespace
{
// Linking this back end makes it the default audio output.
const bool kRegistered = BackendRegistry<AudioDevice>::Add({"sdl", &CreateSdlAudioDevice}, true);
} // namespace
} // namespace Quoll::Platform
