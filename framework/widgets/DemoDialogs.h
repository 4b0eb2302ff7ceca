#pragma once
// The demo navigation dialogs made from widgets: "Marker List" (the markers ahead; a double click
// on a line chooses it) and "Jump To Time" (an edit field with Ok and Cancel; Enter is Ok, Escape
// Cancel). Each runs modally through the application with a widget manager of its own, so the
// game's widgets never see the dialog or its input.
#include "framework/app/AppDemoDialogs.h"

#include <memory>

namespace Quoll
{
class Font;
class QuollAppBase;

class DemoDialogs final : public AppDemoDialogs
{
public:
    // The font (null: the dialogs show no text) is copied.
    DemoDialogs(QuollAppBase& app, const Font* font);
    ~DemoDialogs() override;

    int ChooseMarker(const std::vector<DemoMarkerLine>& lines) override;
    bool AskJumpTime(std::string& text) override;

private:
    QuollAppBase& mApp;
    std::unique_ptr<Font> mFont;
};
} // namespace Quoll
