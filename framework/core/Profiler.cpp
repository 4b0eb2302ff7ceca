#include "framework/core/Profiler.h"

#include "framework/core/Common.h"
#include "framework/platform/system/Clock.h"
#include "framework/platform/system/Thread.h"

#include <atomic>
#include <map>
#include <mutex>
#include <strings.h>
#include <vector>

namespace Quoll
{
namespace
{
struct Sample
{
    std::string section;
    bool isStart;
    uint64_t tick;
};

struct Section
{
    int32_t calls = 0;
    int32_t depth = 0;
    uint64_t startTick = 0;
    uint64_t totalTicks = 0;
    uint64_t longestTicks = 0;
    double totalMs = 0.0;
    double longestMs = 0.0;
};

struct NoCaseLess
{
    bool operator()(const std::string& a, const std::string& b) const
    {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

struct ProfilerState
{
    std::mutex mutex;
    std::atomic<bool> active{false};
    uint64_t runStart = 0;
    uint64_t overhead = 0;
    double totalMs = 0.0;
    std::vector<Sample> pending;
    std::map<std::string, Section, NoCaseLess> sections;
};

ProfilerState& State()
{
    static ProfilerState state;
    return state;
}

uint64_t MeasureCPUSpeed()
{
    const int64_t frequency = Platform::PerformanceFrequency();
    if (frequency <= 0)
        return 0;
    // Measured at the highest priority (best effort) so that little preempts the 10 ms.
    const Platform::ThreadPriority previous = Platform::CurrentThreadPriority();
    Platform::SetCurrentThreadPriority(Platform::ThreadPriority::Highest);
    const int64_t target = Platform::PerformanceCounter() + frequency / 100;
    const uint64_t first = Platform::TimeStampCounter();
    while (Platform::PerformanceCounter() < target)
    {
    }
    const uint64_t ticks = Platform::TimeStampCounter() - first;
    Platform::SetCurrentThreadPriority(previous);
    return ticks * 100;
}

// Turns the pending samples into section totals; nested calls of a section count as one
// interval from the outermost start to the outermost end.
void ProcessSamples(ProfilerState& state)
{
    const uint64_t begin = Platform::TimeStampCounter();
    for (const Sample& sample : state.pending)
    {
        Section& section = state.sections[sample.section];
        if (sample.isStart)
        {
            ++section.calls;
            if (++section.depth == 1)
                section.startTick = sample.tick;
        }
        else if (section.depth > 0 && --section.depth == 0)
        {
            const uint64_t elapsed = sample.tick - section.startTick;
            section.totalTicks += elapsed;
            if (elapsed > section.longestTicks)
                section.longestTicks = elapsed;
        }
    }
    state.pending.clear();
    state.overhead += Platform::TimeStampCounter() - begin;
}
} // namespace

uint64_t Profiler::GetCPUSpeed()
{
    static std::atomic<uint64_t> cached{0};
    uint64_t speed = cached.load();
    if (speed > 0)
        return speed;
    speed = MeasureCPUSpeed();
    if (speed == 0)
        speed = 1;
    cached.store(speed);
    return speed;
}

bool Profiler::IsActive() { return State().active.load(); }

void Profiler::Start()
{
    ProfilerState& state = State();
    std::lock_guard lock(state.mutex);
    state.sections.clear();
    state.pending.clear();
    state.overhead = 0;
    state.active = true;
    state.runStart = Platform::TimeStampCounter();
}

void Profiler::Stop()
{
    ProfilerState& state = State();
    std::lock_guard lock(state.mutex);
    const uint64_t end = Platform::TimeStampCounter();
    ProcessSamples(state);
    state.active = false;
    const double speed = static_cast<double>(GetCPUSpeed());
    const uint64_t busy = end - state.runStart;
    state.totalMs = static_cast<double>(busy > state.overhead ? busy - state.overhead : 0) * 1000.0 / speed;
    for (auto& [name, section] : state.sections)
    {
        section.totalMs = static_cast<double>(section.totalTicks) * 1000.0 / speed;
        section.longestMs = static_cast<double>(section.longestTicks) * 1000.0 / speed;
    }
}

std::string Profiler::GetResults()
{
    ProfilerState& state = State();
    std::lock_guard lock(state.mutex);
    std::string text = FormatString("Total Time: %.2f\n", state.totalMs);
    for (const auto& [name, section] : state.sections)
    {
        const double share = state.totalMs > 0.0 ? section.totalMs / state.totalMs * 100.0 : 0.0;
        const double average = section.calls > 0 ? section.totalMs / section.calls : 0.0;
        text += FormatString("%s (%d calls, %%%.2f time): %.2f (%.2f avg, %.2f longest)\n", name.c_str(),
                             section.calls, share, section.totalMs, average, section.longestMs);
    }
    return text;
}

void Profiler::AddSample(const char* section, bool isStart)
{
    ProfilerState& state = State();
    if (!state.active.load(std::memory_order_relaxed))
        return;
    const uint64_t tick = Platform::TimeStampCounter();
    std::lock_guard lock(state.mutex);
    if (state.active)
        state.pending.push_back({section, isStart, tick});
}
} // namespace Quoll
