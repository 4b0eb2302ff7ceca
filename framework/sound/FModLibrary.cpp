// Loading of the optional FMOD library and its shared, counted entry-point table.
#include "framework/sound/FModLibrary.h"


namespace Quoll
{
namespace
{
constexpr const char* kLibraryName = "libfmod.so";

SharedEntryPoints<FMOD_INSTANCE> gFMod(kLibraryName);
} // namespace

bool FMOD_INSTANCE::Bind(const EntryPointResolver& resolve, std::string& missing)
{
#define QUOLL_BIND(field, name)                                                                \
    if (!BindEntryPoint(resolve, name, field))                                                 \
    {                                                                                          \
        missing = std::string(name) + " function not found";                                   \
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
    return gFMod.Load();
}

void FreeFModDLL()
{
    gFMod.Free();
}

void SetFModResolverForTesting(EntryPointResolver resolver)
{
    gFMod.SetResolverForTesting(std::move(resolver));
}
} // namespace Quoll
