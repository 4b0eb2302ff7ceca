#pragma once
// The debugger-output channel of the framework. Text goes to standard error when the
// environment variable QUOLL_DEBUG_OUTPUT is set to anything but "0"; otherwise it is dropped.
#include <string_view>

namespace Quoll
{
void OutputDebugText(std::string_view text);
bool DebugOutputEnabled();
} // namespace Quoll
