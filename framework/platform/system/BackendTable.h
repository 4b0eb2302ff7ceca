#pragma once
// Back ends of a platform service, chosen by name at run time. Each service keeps a registry of
// {name, factory}: the back ends built into the service's own library are listed there, and
// back ends in libraries of their own (the SDL ones, linked only by programs that open a window
// or play sound) add themselves when linked, as the preferred default. QUOLL_PLATFORM names the
// one to use ("headless" for tests and demo replays); without a name the first row is used.
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace Quoll::Platform
{
template <typename Service>
struct BackendEntry
{
    std::string_view name;
    std::unique_ptr<Service> (*factory)();
};

// The back-end name asked for by the environment, or empty for the default.
inline std::string_view RequestedBackendName()
{
    const char* value = std::getenv("QUOLL_PLATFORM");
    return value != nullptr ? std::string_view(value) : std::string_view();
}

template <typename Service>
class BackendRegistry
{
public:
    // Adds a back end; a preferred one goes first and becomes the default. Returns true so that a
    // back end can register from a namespace-scope initialiser.
    static bool Add(BackendEntry<Service> entry, bool preferred)
    {
        State& state = Get();
        std::lock_guard lock(state.mutex);
        if (preferred)
            state.entries.insert(state.entries.begin(), entry);
        else
            state.entries.push_back(entry);
        return true;
    }

    // Creates the back end called `name` (the first row when empty); null when unknown.
    static std::unique_ptr<Service> Create(std::string_view name)
    {
        State& state = Get();
        std::unique_lock lock(state.mutex);
        for (const auto& entry : state.entries)
            if (name.empty() || entry.name == name)
            {
                auto factory = entry.factory;
                lock.unlock();
                return factory();
            }
        return nullptr;
    }

    // The default back end's name; empty when none is registered.
    static std::string_view DefaultName()
    {
        State& state = Get();
        std::lock_guard lock(state.mutex);
        return state.entries.empty() ? std::string_view() : state.entries.front().name;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::vector<BackendEntry<Service>> entries;
    };
    static State& Get()
    {
        static State state;
        return state;
    }
};
} // namespace Quoll::Platform
