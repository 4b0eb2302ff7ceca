#pragma once
// A dialog: a panel (a nine-part component image, or a filled box) with a centred header, a
// word-wrapped body, a footer and up to two buttons of its own (ids 1000 and 1001) whose release
// is stored as the result and told to the dialog listener. Mouse-visible dialogs can be dragged
// by their header band. Colours: 0 header, 1 body, 2 footer, 3 button label, 4 button label
// while over, 5 panel, 6 panel outline.
#include "framework/app/AppDialog.h"
#include "framework/app/ButtonListener.h"
#include "framework/app/DialogListener.h"
#include "framework/display/Font.h"
#include "framework/widgets/Widget.h"

#include <memory>
#include <string>

namespace Quoll
{
class DialogButton;
class Image;

struct Insets
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

class Dialog : public Widget, public ButtonListener, public AppDialog
{
public:
    enum ButtonMode
    {
        kButtonsNone = 0,
        kButtonsYesNo = 1,
        kButtonsOkCancel = 2,
        kButtonsFooter = 3, // one button across the dialog, labelled with the footer
    };
    static constexpr int kIdYes = 1000;
    static constexpr int kIdNo = 1001;

    Dialog(int id, bool isModal, const std::wstring& header, const std::wstring& lines, const std::wstring& footer,
           int buttonMode);

    // Each keeps a copy of the font; the button font also goes to the dialog's own buttons.
    void SetHeaderFont(const Font* font);
    void SetLinesFont(const Font* font);
    void SetButtonFont(const Font* font);
    [[nodiscard]] Font* GetHeaderFont() const { return mHeaderFont.get(); }
    [[nodiscard]] Font* GetLinesFont() const { return mLinesFont.get(); }
    void SetColor(int index, const Color& color) override;
    // The label of the yes (1000) or no (1001) button.
    void SetButtonLabel(int buttonId, const std::wstring& label);
    [[nodiscard]] DialogButton* GetButton(int buttonId) const;
    // The component image of the dialog's own buttons (not owned).
    void SetButtonImage(Image* image);

    // --- AppDialog -------------------------------------------------------------------------------
    [[nodiscard]] int GetDialogId() const override { return mId; }
    [[nodiscard]] bool IsModal() const override { return mIsModal; }
    [[nodiscard]] int GetWidth() const override { return mWidth; }
    // The height that shows everything at that width.
    [[nodiscard]] int GetPreferredHeight(int width) override;
    // Places the dialog, then lays out its buttons along the bottom inset.
    void Resize(int x, int y, int width, int height) override;
    [[nodiscard]] int GetResult() const override { return mResult; }
    void SetResult(int result) override { mResult = result; }
    [[nodiscard]] Widget* GetWidget() override { return this; }

    // --- Widget ----------------------------------------------------------------------------------
    void Draw(Graphics* g) override;
    using Widget::MouseDown;
    using Widget::MouseUp;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;
    void MouseUp(int x, int y, int button, int clickCount) override;

    // --- ButtonListener: only the dialog's own buttons count --------------------------------------
    void ButtonPress(int id) override;
    void ButtonRelease(int id) override;

    DialogListener* mDialogListener = nullptr;
    Image* mComponentImage = nullptr; // the panel; not owned
    std::wstring mDialogHeader;
    std::wstring mDialogLines;
    std::wstring mDialogFooter;
    Insets mContentInsets{24, 24, 24, 24};
    int mSpaceAfterHeader = 10;
    // Justification of the body: -1 left, 0 centred, 1 right.
    int mTextAlign = -1;
    int mButtonHeight = 24;
    int mButtonSpacing = 8;

protected:
    [[nodiscard]] int HeaderBandHeight() const;
    [[nodiscard]] int ButtonsTop() const { return mHeight - mContentInsets.bottom - mButtonHeight; }
    void LayoutButtons();

private:
    DialogButton* MakeButton(int id, const std::wstring& label);

    int mId;
    bool mIsModal;
    int mButtonMode;
    int mResult = -1;
    std::unique_ptr<Font> mHeaderFont;
    std::unique_ptr<Font> mLinesFont;
    DialogButton* mYesButton = nullptr; // children of the dialog
    DialogButton* mNoButton = nullptr;
    bool mDragging = false;
    int mDragMouseX = 0;
    int mDragMouseY = 0;
};
} // namespace Quoll
