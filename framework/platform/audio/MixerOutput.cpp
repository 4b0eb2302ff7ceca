// The shared output and the choice of audio back end.
#include "framework/platform/audio/MixerOutput.h"

#include "framework/platform/system/BackendTable.h"

#include <cstdlib>
#include <mutex>

namespace Quoll::Platform
{
namespace
{
// The offline device is always there; the SDL one registers itself when linked.
const bool kOfflineRegistered = BackendRegistry<AudioDevice>::Add({"headless", &CreateOfflineAudioDevice}, false);

std::mutex gOutputLock;
std::weak_ptr<MixerOutput> gOutput;
} // namespace

std::string MixerOutput::ChosenBackend()
{
    if (const char* audio = std::getenv("QUOLL_AUDIO"); audio && *audio)
        return audio;
    return std::string(RequestedBackendName());
}

std::shared_ptr<MixerOutput> MixerOutput::Acquire(const std::string& backend, std::string* error)
{
    std::lock_guard lock(gOutputLock);
    if (auto existing = gOutput.lock())
        return existing;
    auto mixer = Mixer::Create();
    const std::string name = backend.empty() ? ChosenBackend() : backend;
    auto device = BackendRegistry<AudioDevice>::Create(name);
    if (!device || !device->Open(mixer))
    {
        if (error != nullptr)
            *error = device ? device->GetError() : "no audio back end named \"" + name + "\"";
        return nullptr;
    }
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
