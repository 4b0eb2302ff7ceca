#pragma once
// Back ends of a platform service, chosen by name at run time: each service keeps a table
// of {name, factory}; QUOLL_PLATFORM names the one to use ("headless" for tests and demo
// replays), and the first row is the default.
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>

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

// Creates the back end called `name` (the first row when empty); null when unknown.
template <typename Service>
std::unique_ptr<Service> CreateBackend(std::span<const BackendEntry<Service>> table, std::string_view name)
{
    if (table.empty())
        return nullptr;
    if (name.empty())
        return table.front().factory();
    for (const auto& entry : table)
        if (entry.name == name)
            return entry.factory();
    return nullptr;
}
} // namespace Quoll::Platform
