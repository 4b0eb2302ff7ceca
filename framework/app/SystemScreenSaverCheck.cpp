#include "framework/app/SystemScreenSaverCheck.h"

#include "framework/platform/window/WindowSystem.h"

#include <algorithm>

namespace Quoll
{
namespace
{
constexpr uint32_t kShortestTimeout = 1000; // ms: the desktop's timeout is at least a second
} // namespace

void SystemScreenSaverCheck::ReadSettings(Platform::WindowSystem& system, uint32_t now)
{
    mSettingsRead = true;
    mSettingsTick = now;
    const std::optional<Platform::ScreenSaverSettings> settings = system.GetScreenSaverSettings();
    mActive = settings && settings->active;
    if (settings)
        mTimeoutMs = std::max(kShortestTimeout, settings->timeoutMs);
}

SystemScreenSaverCheck::Change SystemScreenSaverCheck::Run(Platform::WindowSystem& system, uint32_t now,
                                                           uint32_t& lastInputTick)
{
    // The settings, every ten seconds; a switched-off screen saver ends the pause.
    if (!mSettingsRead || now - mSettingsTick >= kSettingsInterval)
    {
        ReadSettings(system, now);
        if (!mActive && End())
            return Change::Ended;
    }

    // The desktop's last input covers every program's, this one's too; never later than now.
    if (const std::optional<uint32_t> desktopInput = system.GetLastInputTick())
        lastInputTick = int32_t(*desktopInput - now) > 0 ? now : *desktopInput;

    if (!mActive)
        return Change::None;
    const uint32_t idle = int32_t(now - lastInputTick) > 0 ? now - lastInputTick : 0;
    if (!mPaused)
    {
        if (idle <= mTimeoutMs)
            return Change::None;
        mPaused = true;
        return Change::Started;
    }
    // A screen saver that cannot say whether it runs counts as stopped.
    const bool running = system.IsScreenSaverRunning().value_or(false);
    if (running || idle >= mTimeoutMs)
        return Change::None;
    mPaused = false;
    return Change::Ended;
}

bool SystemScreenSaverCheck::End()
{
    const bool wasPaused = mPaused;
    mPaused = false;
    return wasPaused;
}
} // namespace Quoll
