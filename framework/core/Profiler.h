#pragma once
// A program-wide profiling run on the processor's time-stamp counter. Sections are marked
// with ProfileScope (or AddSample); samples are only collected while a run is active and are
// processed when it stops, so marking costs little. GetResults gives a text report.
#include <cstdint>
#include <string>

namespace Quoll
{
class Profiler
{
public:
    // Time-stamp ticks per second, measured once over 10 ms of the performance counter.
    static uint64_t GetCPUSpeed();
    static bool IsActive();
    static void Start();
    static void Stop();
    static std::string GetResults();
    // Appends a sample while a run is active; names are compared without regard to case.
    static void AddSample(const char* section, bool isStart);
};

class ProfileScope
{
public:
    explicit ProfileScope(const char* section) : mSection(section) { Profiler::AddSample(mSection, true); }
    ~ProfileScope() { Profiler::AddSample(mSection, false); }
    ProfileScope(const ProfileScope&) = delete;
    ProfileScope& operator=(const ProfileScope&) = delete;

private:
    const char* mSection;
};
} // namespace Quoll
