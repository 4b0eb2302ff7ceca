#pragma once
// The fonts of the crash windows, made once when the crash window opens. The installed faces
// stand in for the ones the windows were drawn with: DejaVu Sans for the proportional faces,
// emboldened for the bold ones, and DejaVu Sans Mono for the report's fixed-width face. A font
// that cannot be made stays null: its controls show no text but still work.
#include "framework/display/Font.h"

#include <memory>

namespace Quoll
{
struct CrashWindowFonts
{
    std::unique_ptr<Font> label; // 9 pt bold: the windows' texts and most buttons
    std::unique_ptr<Font> report; // 8 pt fixed width: the crash report
    std::unique_ptr<Font> input; // 8 pt: the user's text and the progress window's button
    std::unique_ptr<Font> progress; // 10 pt bold: "Please Wait"

    static CrashWindowFonts Create();
};
} // namespace Quoll
