#pragma once
// The pause of a windowed program while the desktop's screen saver runs over it. Once the
// desktop has had no input for its screen saver's timeout, the program stops updating and
// drawing; when the screen saver no longer runs and input has come back, it goes on. The
// settings are read again every ten seconds; where the desktop cannot answer, the screen saver
// counts as switched off and the pause never starts.
#include <cstdint>

namespace Quoll
{
namespace Platform
{
class WindowSystem;
}

class SystemScreenSaverCheck
{
public:
    enum class Change
    {
        None,
        Started,
        Ended, // everything must be drawn again
    };

    // One check at `now`. `lastInputTick` is the application's last input; the desktop's own,
    // when it reports one, replaces it.
    Change Run(Platform::WindowSystem& system, uint32_t now, uint32_t& lastInputTick);
    // Ends a pause at once (the program became a full-screen one); true when one was on.
    bool End();
    [[nodiscard]] bool IsPaused() const { return mPaused; }

    static constexpr uint32_t kSettingsInterval = 10'000; // ms

private:
    void ReadSettings(Platform::WindowSystem& system, uint32_t now);

    bool mSettingsRead = false;
    uint32_t mSettingsTick = 0;
    uint32_t mTimeoutMs = 1000;
    bool mActive = false;
    bool mPaused = false;
};
} // namespace Quoll
