#pragma once
// Button: the push button of every game dialog and screen. Its label comes from a text key (the
// key itself when the key has no text), it may carry an icon drawn over its face (one pixel right
// and down while held), shows a word-wrapped hint above everything while the mouse is over it,
// plays the game's button sounds, greys its label with colour 6 while disabled, and knows its
// natural size so that dialogs place it by its top-left corner alone.
#include "framework/widgets/ButtonWidget.h"

#include <string>

namespace Quoll
{
class Button : public ButtonWidget
{
public:
    static constexpr int kColorDisabledLabel = 6;
    // Alpha of the hint's black shadow.
    static constexpr int kHintShadowAlpha = 160;

    // With a normal image the button is drawn with its images; without one it is its label alone
    // (green under the mouse). The font is copied.
    Button(int id, const std::string& labelKey, ButtonListener* listener, Image* normalImage, Image* overImage,
           const Font* font);

    // The label from the label key in the current language (no change without a key).
    void UpdateLabel();
    // Image button: the normal image's size; text button: the label's width + 20 by the font's height.
    [[nodiscard]] int GetNaturalWidth();
    [[nodiscard]] int GetNaturalHeight() const;
    // Places the button at its natural size.
    void PlaceAt(int x, int y);

    // The hint: its text key, its alignments around the anchor (vertical -1 none, 0 centred,
    // 1 above; horizontal -1 none, 0 centred, 1 to the left) and its look.
    void SetHint(const std::string& key, int verticalAlign = -1, int horizontalAlign = -1);
    // Shows the hint without the mouse (nothing for a hint without text), or hides it.
    void ShowHint(bool show);
    [[nodiscard]] bool IsHintShown() const { return mHintShown; }
    [[nodiscard]] int GetHintX() const { return mHintX; }
    [[nodiscard]] int GetHintY() const { return mHintY; }
    [[nodiscard]] const std::wstring& GetHintText() const { return mHintText; }
    [[nodiscard]] const std::string& GetLabelKey() const { return mLabelKey; }

    // A button drawn by its owner as part of the owner's layer (DrawWithOwner) is skipped by the
    // widget tree's pass, which would put it over everything its parent draws.
    void SetDrawnByOwner(bool byOwner) { mDrawnByOwner = byOwner; }
    [[nodiscard]] bool IsDrawnByOwner() const { return mDrawnByOwner; }
    // Draws the visible button at its place, with the graphics of its parent's coordinates.
    void DrawWithOwner(Graphics* g);

    void SetDisabled(bool disabled) override;
    void Draw(Graphics* g) override;
    void DrawOverlay(Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    using ButtonWidget::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    // Draws the whole image stretched over the button.
    void DrawButtonImage(Graphics* g, Image* image, const Rect& sourceRect, int x, int y) override;

    Image* mIcon = nullptr; // not owned
    int mIconX = 0;
    int mIconY = 0;
    Font* mHintFont = nullptr; // null: the button's font; not owned
    int mHintOffsetX = 0;
    int mHintOffsetY = 0;
    int mHintWidth = 400;
    int mHintJustification = -1;
    Color mHintColor = Color::White;

private:
    [[nodiscard]] Font* HintFont() const;
    void PositionHint();

    std::string mLabelKey;
    std::string mHintKey;
    int mHintVerticalAlign = -1;
    int mHintHorizontalAlign = -1;
    Color mSavedLabelColor;
    bool mHintShown = false;
    int mHintX = 0;
    int mHintY = 0;
    std::wstring mHintText;
    bool mDrawnByOwner = false;
    bool mOwnerDrawing = false;
};
} // namespace Quoll
