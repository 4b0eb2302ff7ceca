#include "framework/display/DXErrorName.h"

#include <cstdio>

namespace Quoll
{
std::string DXErrorName(Platform::HResult code)
{
    for (const Platform::ResultName& entry : Platform::ResultNames())
        if (entry.code == code)
            return entry.name;
    char text[16];
    std::snprintf(text, sizeof(text), "%x", static_cast<unsigned>(code));
    return text;
}
} // namespace Quoll
