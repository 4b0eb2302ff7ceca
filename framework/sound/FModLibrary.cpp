// Loading of the optional FMOD library and its shared, counted entry-point table.
#include "framework/sound/FModLibrary.h"

#include "framework/app/DebugOutput.h"

#include <memory>
#include <mutex>

namespace Quoll
{
namespace
{
constexpr const char* kLibraryName = "libfmod.so";

std::mutex gLock;
std::unique_ptr<FMOD_INSTANCE> gInstance;
int gUsers = 0;
EntryPointResolver gTestResolver;

std::unique_ptr<FMOD_INSTANCE> CreateInstance()
{
    auto instance = std::make_unique<FMOD_INSTANCE>();
    EntryPointResolver resolve = gTestResolver;
    if (!resolve)
    {
        if (!instance->library.Open(kLibraryName))
        {
            OutputDebugText("WARNING: Can't find " + std::string(kLibraryName) + " (" +
                            instance->library.GetError() + "); FMOD is not used.\n");
            return nullptr;
        }
        const Platform::SharedLibrary* library = &instance->library;
        resolve = [library](const char* name) { return library->Resolve(name); };
    }
    std::string missing;
    if (!instance->Bind(resolve, missing))
    {
        OutputDebugText("WARNING: " + missing + " function not found in " + kLibraryName +
                        "; FMOD is not used.\n");
        return nullptr;
    }
    return instance;
}
} // namespace

bool FMOD_INSTANCE::Bind(const EntryPointResolver& resolve, std::string& missing)
{
#define QUOLL_BIND(field, name)                                                                \
    if (!BindEntryPoint(resolve, name, field))                                                 \
    {                                                                                          \
        missing = name;                                                                        \
        return false;                                                                          \
    }
    QUOLL_BIND(_FSOUND_SetBufferSize, "FSOUND_SetBufferSize")
    QUOLL_BIND(_FSOUND_SetHWND, "FSOUND_SetHWND")
    QUOLL_BIND(_FSOUND_Init, "FSOUND_Init")
    QUOLL_BIND(_FSOUND_Close, "FSOUND_Close")
    QUOLL_BIND(_FSOUND_Sample_Load, "FSOUND_Sample_Load")
    QUOLL_BIND(_FSOUND_Sample_Alloc, "FSOUND_Sample_Alloc")
    QUOLL_BIND(_FSOUND_Sample_Free, "FSOUND_Sample_Free")
    QUOLL_BIND(_FSOUND_Sample_Lock, "FSOUND_Sample_Lock")
    QUOLL_BIND(_FSOUND_Sample_Unlock, "FSOUND_Sample_Unlock")
    QUOLL_BIND(_FSOUND_Sample_SetLoopPoints, "FSOUND_Sample_SetLoopPoints")
    QUOLL_BIND(_FSOUND_Sample_GetLength, "FSOUND_Sample_GetLength")
    QUOLL_BIND(_FSOUND_Sample_GetDefaults, "FSOUND_Sample_GetDefaults")
    QUOLL_BIND(_FSOUND_Sample_GetMode, "FSOUND_Sample_GetMode")
    QUOLL_BIND(_FSOUND_PlaySound, "FSOUND_PlaySound")
    QUOLL_BIND(_FSOUND_StopSound, "FSOUND_StopSound")
    QUOLL_BIND(_FSOUND_SetVolume, "FSOUND_SetVolume")
    QUOLL_BIND(_FSOUND_SetPaused, "FSOUND_SetPaused")
    QUOLL_BIND(_FSOUND_SetLoopMode, "FSOUND_SetLoopMode")
    QUOLL_BIND(_FSOUND_IsPlaying, "FSOUND_IsPlaying")
    QUOLL_BIND(_FSOUND_Stream_OpenFile, "FSOUND_Stream_OpenFile")
    QUOLL_BIND(_FSOUND_Stream_Close, "FSOUND_Stream_Close")
    QUOLL_BIND(_FSOUND_Stream_Play, "FSOUND_Stream_Play")
    QUOLL_BIND(_FMUSIC_LoadSong, "FMUSIC_LoadSong")
    QUOLL_BIND(_FMUSIC_PlaySong, "FMUSIC_PlaySong")
    QUOLL_BIND(_FMUSIC_StopSong, "FMUSIC_StopSong")
    QUOLL_BIND(_FMUSIC_SetLooping, "FMUSIC_SetLooping")
    QUOLL_BIND(_FMUSIC_SetOrder, "FMUSIC_SetOrder")
    QUOLL_BIND(_FMUSIC_SetPaused, "FMUSIC_SetPaused")
    QUOLL_BIND(_FMUSIC_SetMasterVolume, "FMUSIC_SetMasterVolume")
    QUOLL_BIND(_FMUSIC_IsPlaying, "FMUSIC_IsPlaying")
#undef QUOLL_BIND
    return true;
}

FMOD_INSTANCE* LoadFModDLL()
{
    std::lock_guard lock(gLock);
    if (!gInstance)
        gInstance = CreateInstance();
    if (!gInstance)
        return nullptr;
    ++gUsers;
    return gInstance.get();
}

void FreeFModDLL()
{
    std::lock_guard lock(gLock);
    if (gUsers > 0 && --gUsers == 0)
        gInstance.reset();
}

void SetFModResolverForTesting(EntryPointResolver resolver)
{
    std::lock_guard lock(gLock);
    gTestResolver = std::move(resolver);
}
} // namespace Quoll
