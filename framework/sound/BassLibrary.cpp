// Loading of the optional BASS library and its shared, counted entry-point table.
#include "framework/sound/BassLibrary.h"

#include <iterator>

namespace Quoll
{
namespace
{
constexpr const char* kLibraryName = "./libbass.so";

constexpr const char* kUnusedRequired[] = {
    "BASS_GetVolume", "BASS_GetInfo", "BASS_GetVersion", "BASS_ChannelGetAttributes",
    "BASS_ChannelGetPosition", "BASS_ChannelSlideAttributes", "BASS_ChannelIsSliding",
    "BASS_ChannelGetLevel", "BASS_ChannelSetSync", "BASS_ChannelRemoveSync",
    "BASS_ChannelGetData", "BASS_FXSetParameters", "BASS_FXGetParameters", "BASS_ChannelSetFX",
    "BASS_ChannelRemoveFX", "BASS_MusicGetAttribute", "BASS_StreamCreate",
    "BASS_MusicGetOrders", "BASS_MusicGetOrderPosition", "BASS_SampleLoad", "BASS_SampleFree",
    "BASS_SampleSetInfo", "BASS_SampleGetInfo", "BASS_SampleGetChannel", "BASS_SampleStop",
    "BASS_ErrorGetCode"};
static_assert(std::size(kUnusedRequired) == sizeof(BASS_INSTANCE::unusedRequired) / sizeof(void*));

SharedEntryPoints<BASS_INSTANCE> gBass(kLibraryName);
} // namespace

bool BASS_INSTANCE::Bind(const EntryPointResolver& resolve, std::string& missing)
{
    // The second generation is told apart by BASS_SetConfig; its Init and MusicLoad take
    // other arguments and go to their own fields.
    version2 = BindEntryPoint(resolve, "BASS_SetConfig", BASS_SetConfig);
    BindEntryPoint(resolve, "BASS_GetConfig", BASS_GetConfig);
    bool ok = version2 ? BindEntryPoint(resolve, "BASS_Init", BASS_Init2) &&
                             BindEntryPoint(resolve, "BASS_MusicLoad", BASS_MusicLoad2)
                       : BindEntryPoint(resolve, "BASS_Init", BASS_Init) &&
                             BindEntryPoint(resolve, "BASS_MusicLoad", BASS_MusicLoad);
    if (!ok)
    {
        missing = "BASS_Init or BASS_MusicLoad function not found";
        return false;
    }
#define QUOLL_BIND(field)                                                                      \
    if (!BindEntryPoint(resolve, #field, field))                                               \
    {                                                                                          \
        missing = #field " function not found";                                                \
        return false;                                                                          \
    }
    QUOLL_BIND(BASS_Free)
    QUOLL_BIND(BASS_Stop)
    QUOLL_BIND(BASS_Start)
    QUOLL_BIND(BASS_ChannelStop)
    QUOLL_BIND(BASS_ChannelPlay)
    QUOLL_BIND(BASS_ChannelPause)
    QUOLL_BIND(BASS_ChannelSetAttributes)
    QUOLL_BIND(BASS_ChannelSetPosition)
    QUOLL_BIND(BASS_ChannelIsActive)
    QUOLL_BIND(BASS_ChannelSetFlags)
    QUOLL_BIND(BASS_MusicFree)
    QUOLL_BIND(BASS_MusicSetAttribute)
    QUOLL_BIND(BASS_StreamCreateFile)
    QUOLL_BIND(BASS_StreamFree)
#undef QUOLL_BIND
    for (size_t i = 0; i < std::size(kUnusedRequired); ++i)
    {
        unusedRequired[i] = resolve(kUnusedRequired[i]);
        if (!unusedRequired[i])
        {
            missing = std::string(kUnusedRequired[i]) + " function not found";
            return false;
        }
    }
    const bool globalVolumes = BindEntryPoint(resolve, "BASS_SetGlobalVolumes", BASS_SetGlobalVolumes);
    const bool volume = BindEntryPoint(resolve, "BASS_SetVolume", BASS_SetVolume);
    if (!globalVolumes && !volume)
    {
        missing = "Neither BASS_SetGlobalVolumes or BASS_SetVolume found";
        return false;
    }
    if (version2)
    {
        pluginLoad = resolve("BASS_PluginLoad");
        channelGetLength = resolve("BASS_ChannelGetLength");
        channelPreBuf = resolve("BASS_ChannelPreBuf");
    }
    return true;
}

BASS_INSTANCE* LoadBassDLL()
{
    return gBass.Load();
}

void FreeBassDLL()
{
    gBass.Free();
}

void SetBassResolverForTesting(EntryPointResolver resolver)
{
    gBass.SetResolverForTesting(std::move(resolver));
}
} // namespace Quoll
