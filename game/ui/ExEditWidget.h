#pragma once
// ExEditWidget: the one-line text field of the profile-name dialog. It draws an image behind its
// text (or a filled box with an outline), centres the text 14 pixels left of its middle, greys
// the text with colour 5 while disabled, and in single-byte input mode takes only characters
// up to 255. Colours: 0 background, 1 outline, 2 text, 3 selection, 4 selected text, 5 text
// while disabled (black by default).
#include "framework/widgets/EditWidget.h"

namespace Quoll
{
class Image;

class ExEditWidget : public EditWidget
{
public:
    static constexpr int kColorDisabledText = 5;
    // Point size of the system font the field makes when it has no font at its first draw.
    static constexpr int kFallbackPointSize = 10;

    explicit ExEditWidget(EditListener* listener);

    void SetDisabled(bool disabled) override;
    [[nodiscard]] bool WantsFocus() override { return true; }
    void KeyChar(wchar_t character) override;
    // No selection by dragging.
    void MouseDrag(int, int) override {}
    void Draw(Graphics* g) override;

    // Drops characters above 255 (the field's text then fits one byte a character).
    bool mSingleByteInput = false;
    Image* mBackgroundImage = nullptr; // not owned
    int mBackgroundX = 0;

private:
    // The left edge of the visible text, from which it is drawn 4 pixels further right.
    [[nodiscard]] int TextLeft(const std::wstring& visible) const;
    // The x of a cursor position, measured as the caret is drawn.
    [[nodiscard]] int CaretX(int textLeft, int position) const;
    void DrawCaretAndSelection(const Graphics& g, const std::wstring& visible, int textLeft, int baseline) const;

    Color mSavedTextColor;
};
} // namespace Quoll
