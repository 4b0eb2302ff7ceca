#include "framework/core/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Quoll
{
bool DebugOutputEnabled()
{
    static const bool enabled = [] {
        const char* value = std::getenv("QUOLL_DEBUG_OUTPUT");
        return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
    }();
    return enabled;
}

void OutputDebugText(std::string_view text)
{
    if (!DebugOutputEnabled())
        return;
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}
} // namespace Quoll
