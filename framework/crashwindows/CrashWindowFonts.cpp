#include "framework/crashwindows/CrashWindowFonts.h"

#include "framework/crashwindows/EmboldenedFont.h"
#include "framework/platform/system/PlatformLog.h"
#include "framework/widgets/SysFont.h"

#include <string>

namespace Quoll
{
namespace
{
constexpr const char* kProportional = "DejaVu Sans";
constexpr const char* kFixedWidth = "DejaVu Sans Mono";

std::unique_ptr<Font> Regular(const char* face, int points)
{
    std::string error;
    std::unique_ptr<Font> font = SysFont::Create(nullptr, face, points, 0, error);
    if (font == nullptr)
        Platform::LogLine("CrashWindows", "no font " + std::string(face) + ": " + error);
    return font;
}

std::unique_ptr<Font> Bold(const char* face, int points)
{
    std::unique_ptr<Font> regular = Regular(face, points);
    return regular == nullptr ? nullptr : std::make_unique<EmboldenedFont>(std::move(regular));
}
} // namespace

CrashWindowFonts CrashWindowFonts::Create()
{
    CrashWindowFonts fonts;
    fonts.label = Bold(kProportional, 9);
    fonts.report = Regular(kFixedWidth, 8);
    fonts.input = Regular(kProportional, 8);
    fonts.progress = Bold(kProportional, 10);
    return fonts;
}
} // namespace Quoll
