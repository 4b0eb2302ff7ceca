// The shared output and the choice of audio back end.
#include "framework/platform/MixerOutput.h"

#include <cstdlib>
#include <mutex>

namespace Quoll::Platform
{
namespace
{
struct Backend
{
    std::string_view name;
    std::unique_ptr<AudioDevice> (*create)(std::shared_ptr<Mixer>);
};
constexpr Backend kBackends[] = {
    {"sdl", CreateSdlAudioDevice},
    {"headless", CreateOfflineAudioDevice},
};

std::mutex gOutputLock;
std::weak_ptr<MixerOutput> gOutput;
} // namespace

std::unique_ptr<AudioDevice> CreateAudioDevice(std::string_view backend,
                                               std::shared_ptr<Mixer> mixer)
{
    for (const Backend& entry : kBackends)
        if (entry.name == backend)
            return entry.create(std::move(mixer));
    return nullptr;
}

std::string MixerOutput::ChosenBackend()
{
    if (const char* audio = std::getenv("QUOLL_AUDIO"); audio && *audio)
        return audio;
    const char* platform = std::getenv("QUOLL_PLATFORM");
    return platform && std::string_view(platform) == "headless" ? "headless" : "sdl";
}

std::shared_ptr<MixerOutput> MixerOutput::Acquire()
{
    std::lock_guard lock(gOutputLock);
    if (auto existing = gOutput.lock())
        return existing;
    auto mixer = Mixer::Create();
    auto device = CreateAudioDevice(ChosenBackend(), mixer);
    if (!device)
        return nullptr;
    auto output = std::make_shared<MixerOutput>(std::move(mixer), std::move(device));
    gOutput = output;
    return output;
}

MixerOutput::MixerOutput(std::shared_ptr<Mixer> mixer, std::unique_ptr<AudioDevice> device)
    : mMixer(std::move(mixer)), mDevice(std::move(device))
{
}

MixerOutput::~MixerOutput()
{
    mDevice.reset(); // stop the device before the mixer it reads goes
}
} // namespace Quoll::Platform
