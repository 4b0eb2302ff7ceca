#pragma once
// QuollDialog: the base of the game's dialogs, modal, without buttons of the framework's own.
// Attach registers the dialog under its id with the application, which opens it modally, gives
// it the focus and plays the menu's sound; Detach takes it out and hands it and its children to
// the deferred deletion, then unloads the resource group it was built from.
//
// One dialog per id: a dialog attached while another holds its id makes the older one leave the
// tree without deleting it (its state still owns it); the older one's later detach deletes only
// itself. A dialog that never attached (its group did not load) is freed by its detach.
//
// The common handlers: a button's release sends the button's id with argument 0; Escape sends
// the dialog's cancel command (when it has one) and plays the select sound once.
#include "framework/widgets/Dialog.h"
#include "game/shell/BaseWidget.h"

#include <string>

namespace Quoll
{
class Button;
class Font;
class Image;
} // namespace Quoll

// The steps shared by every game dialog's building, as data: the resource group, the panel, the
// texts by key, the fonts and colours of header and body, the insets and the header's spacing.
struct DialogRecipe
{
    std::string group;
    std::string panelImage;
    std::string headerKey; // empty: no header
    std::string linesKey;  // empty: no body text
    std::string headerFont = "FONT_FNT2";
    // Empty: the shared dialog text font.
    std::string linesFont;
    Quoll::Color headerColor = Quoll::Color::White;
    // Made readable on the panel (ReadableTextColor).
    Quoll::Color linesColor;
    Quoll::Insets insets{23, 80, 23, 20};
    int spaceAfterHeader = 30;
};

// The body text's colour on a panel: the wanted colour where its brightness stands well apart from
// the panel's mean, else white on a dark panel and black on a light one (same alpha). Without a
// panel whose pixels can be read, the wanted colour.
[[nodiscard]] Quoll::Color ReadableTextColor(Quoll::Image* panel, const Quoll::Color& wanted);

// What a game button is made of, besides the dialog it goes to.
struct ButtonRecipe
{
    ButtonRecipe(int buttonId, std::string key, std::string normal = "IMAGE_BTN1", std::string over = "IMAGE_BTN1_OVER")
        : id(buttonId), labelKey(std::move(key)), normalImage(std::move(normal)), overImage(std::move(over))
    {
    }

    int id;
    std::string labelKey;
    std::string normalImage;
    std::string overImage;
    // Empty: none.
    std::string disabledImage;
    // Colour 6: the label while disabled; unset (alpha 0) keeps the button's default.
    Quoll::Color disabledLabel{0, 0, 0, 0};
    // Empty: the shared button font.
    std::string font;
};

class QuollDialog : public Quoll::Dialog, public BaseWidget
{
public:
    static constexpr int kNoCancelCommand = -1;
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyEscape = 27;
    static constexpr int kKeyUp = 38;
    static constexpr int kKeyDown = 40;

    QuollDialog(int dialogId, int cancelCommand);

    void Attach(WidgetLink* link) override;
    void Detach() override;

    void ButtonRelease(int id) override;
    void KeyDown(int keyCode) override;

    // Whether the dialog's group loaded and it was built (it may still not be attached).
    [[nodiscard]] bool IsBuilt() const { return !mGroup.empty(); }

protected:
    // Loads the recipe's group (false, leaving the dialog unbuilt, when it does not load), then
    // sets the panel, texts, fonts, colours and insets and stops the dialog taking the mouse.
    bool BuildFrom(const DialogRecipe& recipe);
    // A game button added to the dialog, with the game's label colours.
    Quoll::Button* AddButton(const ButtonRecipe& recipe);
    // Sizes the dialog to its panel, centred on the application's screen.
    void CentreOnPanel();
    // Sends a command and plays the select sound (the keys' handlers).
    void SendWithSound(int command);

private:
    int mCancelCommand;
    std::string mGroup; // the loaded group; empty until built
};
