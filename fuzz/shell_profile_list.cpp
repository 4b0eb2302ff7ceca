// Fuzz target: the profile-list reader ("profiles.lst").
#include "PlayerRecordFuzz.h"

#include "game/shell/ProfileList.h"

namespace
{
bool SameList(const ProfileList& a, const ProfileList& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (a.GetName(i) != b.GetName(i))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ProfileList start;
    start.Add("start");
    CheckPlayerRecord("shell_profile_list", data, size, start, SameList);
    return 0;
}
