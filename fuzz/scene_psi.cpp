// Fuzz target of the particle description reader: the input is a ".psi" file. It is read, printed
// in the text form and parsed back, and a system built from it runs 30 steps and draws into a
// recording-free image (the base image draws nothing), so the simulation meets whatever numbers
// the file holds.
#include "FuzzSceneServices.h"
#include "tools/psitool/PsiText.h"

#include "framework/display/Graphics.h"
#include "game/scene/ParticleManager.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Quoll::Buffer buffer;
    if (size > 0)
        buffer.WriteBytes(data, size);
    buffer.SeekReadStart();
    const ParticleFile file = ReadParticleFile(buffer);

    ParticleFile parsed;
    std::string error;
    ParseParticleText(PrintParticleText(file), parsed, error);

    static FuzzSceneServices services;
    ParticleManager manager(services, 60.0f);
    manager.Register(1, file, 2);
    ParticleSystem* system = manager.Spawn(1, 100.0f, 100.0f);
    if (system == nullptr)
        return 0;
    system->StartPath();
    (void)system->IsInsideMask(5, 5);
    Quoll::Image screen;
    Quoll::Graphics g(&screen);
    for (int i = 0; i < 30; ++i)
    {
        manager.Update(1.0f / 60.0f);
        manager.Render(&g);
    }
    return 0;
}
