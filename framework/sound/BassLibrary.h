#pragma once
// The optional BASS library: entry points resolved by name from "./libbass.so" when present,
// for either generation of the library (the second has BASS_SetConfig), and one shared,
// counted instance of them. A missing library or required entry point makes LoadBassDLL log a
// warning and answer null; callers then go on without BASS.
#include "framework/platform/system/SharedLibrary.h"
#include "framework/sound/EntryPoints.h"

#include <cstdint>
#include <string>

namespace Quoll
{
struct BASS_INSTANCE
{
    Platform::SharedLibrary library;
    bool version2 = false;

    int (*BASS_Init)(int device, uint32_t frequency, uint32_t flags, void* window) = nullptr;
    int (*BASS_Init2)(int device, uint32_t frequency, uint32_t flags, void* window,
                      void* clsid) = nullptr;
    int (*BASS_Free)() = nullptr;
    int (*BASS_Stop)() = nullptr;
    int (*BASS_Start)() = nullptr;
    uint32_t (*BASS_SetConfig)(uint32_t option, uint32_t value) = nullptr;
    uint32_t (*BASS_GetConfig)(uint32_t option) = nullptr;
    int (*BASS_SetGlobalVolumes)(int music, int sample, int stream) = nullptr;
    int (*BASS_SetVolume)(uint32_t volume) = nullptr;
    int (*BASS_ChannelStop)(uint32_t channel) = nullptr;
    int (*BASS_ChannelPlay)(uint32_t channel, int restart) = nullptr;
    int (*BASS_ChannelPause)(uint32_t channel) = nullptr;
    int (*BASS_ChannelSetAttributes)(uint32_t channel, int frequency, int volume,
                                     int pan) = nullptr;
    int (*BASS_ChannelSetPosition)(uint32_t channel, uint64_t position) = nullptr;
    uint32_t (*BASS_ChannelIsActive)(uint32_t channel) = nullptr;
    int (*BASS_ChannelSetFlags)(uint32_t channel, uint32_t flags) = nullptr;
    uint32_t (*BASS_MusicLoad)(int memory, const void* file, uint32_t offset, uint32_t length,
                               uint32_t flags) = nullptr;
    uint32_t (*BASS_MusicLoad2)(int memory, const void* file, uint64_t offset, uint32_t length,
                                uint32_t flags, uint32_t frequency) = nullptr;
    int (*BASS_MusicFree)(uint32_t handle) = nullptr;
    int (*BASS_MusicSetAttribute)(uint32_t handle, uint32_t attribute, uint32_t value) = nullptr;
    uint32_t (*BASS_StreamCreateFile)(int memory, const void* file, uint64_t offset,
                                      uint64_t length, uint32_t flags) = nullptr;
    int (*BASS_StreamFree)(uint32_t handle) = nullptr;
    // Entry points that must be there but that the player does not call.
    void* unusedRequired[26] = {};
    void* pluginLoad = nullptr;
    void* channelGetLength = nullptr;
    void* channelPreBuf = nullptr;

    // Binds every entry point; the first missing required one in `missing`.
    bool Bind(const EntryPointResolver& resolve, std::string& missing);
};

// Counts a user in; the shared entry points, or null when BASS cannot be had (logged).
BASS_INSTANCE* LoadBassDLL();
// Counts a user out (only after a LoadBassDLL that answered an instance).
void FreeBassDLL();
// While set, the entry points come from the resolver instead of the library (tests).
void SetBassResolverForTesting(EntryPointResolver resolver);
} // namespace Quoll
