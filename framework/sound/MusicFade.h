#pragma once
// One update step of a song's fade, shared by the music players. The volume moves by the fade's
// step; passing above the cap ends a fade-in at the cap, passing below 0 ends a fade-out at 0.
// A volume exactly at a bound keeps fading for one more step.

namespace Quoll
{
enum class FadeStep
{
    Idle,     // not fading
    Moved,    // the volume changed
    FadedOut, // went below 0: a song marked to stop on fade-out stops now
};

template <typename Volume>
FadeStep StepFade(Volume& volume, Volume& add, Volume cap)
{
    if (add == Volume(0))
        return FadeStep::Idle;
    volume += add;
    if (volume > cap)
    {
        volume = cap;
        add = Volume(0);
    }
    else if (volume < Volume(0))
    {
        volume = Volume(0);
        add = Volume(0);
        return FadeStep::FadedOut;
    }
    return FadeStep::Moved;
}
} // namespace Quoll
