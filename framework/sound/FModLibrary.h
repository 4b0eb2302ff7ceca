#pragma once
// The optional FMOD library: its entry points, resolved by name from "libfmod.so" when that is
// present, and one shared, counted instance of them. When the library or any entry point is
// missing, LoadFModDLL logs a warning and answers null; callers then go on without FMOD.
#include "framework/platform/system/SharedLibrary.h"
#include "framework/sound/EntryPoints.h"

#include <string>

namespace Quoll
{
struct FModSample;
struct FModModule;
struct FModStream;

struct FMOD_INSTANCE
{
    Platform::SharedLibrary library;
    int (*_FSOUND_SetBufferSize)(int milliseconds) = nullptr;
    int (*_FSOUND_SetHWND)(void* window) = nullptr;
    int (*_FSOUND_Init)(int mixRate, int maxChannels, unsigned flags) = nullptr;
    void (*_FSOUND_Close)() = nullptr;
    FModSample* (*_FSOUND_Sample_Load)(int index, const char* name, unsigned mode,
                                       int length) = nullptr;
    FModSample* (*_FSOUND_Sample_Alloc)(int index, int length, unsigned mode, int frequency,
                                        int volume, int pan, int priority) = nullptr;
    void (*_FSOUND_Sample_Free)(FModSample* sample) = nullptr;
    int (*_FSOUND_Sample_Lock)(FModSample* sample, int offset, int length, void** first,
                               void** second, unsigned* firstLength,
                               unsigned* secondLength) = nullptr;
    int (*_FSOUND_Sample_Unlock)(FModSample* sample, void* first, void* second,
                                 unsigned firstLength, unsigned secondLength) = nullptr;
    int (*_FSOUND_Sample_SetLoopPoints)(FModSample* sample, int start, int end) = nullptr;
    unsigned (*_FSOUND_Sample_GetLength)(FModSample* sample) = nullptr;
    int (*_FSOUND_Sample_GetDefaults)(FModSample* sample, int* frequency, int* volume, int* pan,
                                      int* priority) = nullptr;
    unsigned (*_FSOUND_Sample_GetMode)(FModSample* sample) = nullptr;
    int (*_FSOUND_PlaySound)(int channel, FModSample* sample) = nullptr;
    int (*_FSOUND_StopSound)(int channel) = nullptr;
    int (*_FSOUND_SetVolume)(int channel, int volume) = nullptr;
    int (*_FSOUND_SetPaused)(int channel, int paused) = nullptr;
    int (*_FSOUND_SetLoopMode)(int channel, unsigned mode) = nullptr;
    int (*_FSOUND_IsPlaying)(int channel) = nullptr;
    FModStream* (*_FSOUND_Stream_OpenFile)(const char* name, unsigned mode, int length) = nullptr;
    int (*_FSOUND_Stream_Close)(FModStream* stream) = nullptr;
    int (*_FSOUND_Stream_Play)(int channel, FModStream* stream) = nullptr;
    FModModule* (*_FMUSIC_LoadSong)(const char* name) = nullptr;
    int (*_FMUSIC_PlaySong)(FModModule* module) = nullptr;
    int (*_FMUSIC_StopSong)(FModModule* module) = nullptr;
    int (*_FMUSIC_SetLooping)(FModModule* module, int looping) = nullptr;
    int (*_FMUSIC_SetOrder)(FModModule* module, int order) = nullptr;
    int (*_FMUSIC_SetPaused)(FModModule* module, int paused) = nullptr;
    int (*_FMUSIC_SetMasterVolume)(FModModule* module, int volume) = nullptr;
    int (*_FMUSIC_IsPlaying)(FModModule* module) = nullptr;

    // Binds every entry point; the name of the first missing one in `missing`.
    bool Bind(const EntryPointResolver& resolve, std::string& missing);
};

// Sample mode bits the players read.
constexpr unsigned kFModMode8Bits = 0x8;
constexpr unsigned kFModModeMono = 0x20;
constexpr unsigned kFModModeLoopNormal = 0x2;

// Counts a user in; the shared entry points, or null when FMOD cannot be had (logged).
FMOD_INSTANCE* LoadFModDLL();
// Counts a user out (only after a LoadFModDLL that answered an instance).
void FreeFModDLL();
// While set, the entry points come from the resolver instead of the library (tests).
void SetFModResolverForTesting(EntryPointResolver resolver);
} // namespace Quoll
