#include "framework/widgets/DemoDialogs.h"

#include "framework/app/QuollAppBase.h"
#include "framework/core/Common.h"
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/EditListener.h"
#include "framework/widgets/EditWidget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Quoll
{
namespace
{
using namespace Platform;

constexpr int kDialogWidth = 400;
constexpr int kJumpHeight = 150;
constexpr int kMarkerHeight = 400;
constexpr int kMargin = 12;
constexpr int kFieldHeight = 26;

// One of the two dialogs while it runs: its own widget manager, fed the live input.
class DialogRun : public AppModalClient, public DialogListener
{
public:
    DialogRun(QuollAppBase& app, std::unique_ptr<Dialog> dialog)
        : mApp(app), mManager(&app), mDialog(std::move(dialog))
    {
        mDialog->mDialogListener = this;
        mDialog->Resize((app.mWidth - mDialog->mWidth) / 2, (app.mHeight - mDialog->mHeight) / 2, mDialog->mWidth,
                        mDialog->mHeight);
        mManager.AddWidget(mDialog.get());
    }
    ~DialogRun() override { mManager.RemoveWidget(mDialog.get()); }

    [[nodiscard]] bool Finished() const override { return mFinished; }
    void Finish(bool accepted)
    {
        mFinished = true;
        mAccepted = accepted;
    }
    [[nodiscard]] bool Accepted() const { return mAccepted; }
    WidgetManager& Manager() { return mManager; }
    Dialog& GetDialog() { return *mDialog; }

    void Input(uint32_t message, WParam wParam, LParam lParam) override
    {
        int x = int(int16_t(lParam & 0xFFFF)), y = int(int16_t((lParam >> 16) & 0xFFFF));
        if (AppWidgetManager* game = mApp.GetWidgetManager())
            game->RemapMouse(x, y);
        switch (message)
        {
        case WM_MOUSEMOVE: mManager.MouseMove(x, y); break;
        case WM_LBUTTONDOWN: mManager.MouseDown(x, y, 1); break;
        case WM_LBUTTONDBLCLK: mManager.MouseDown(x, y, 2); break;
        case WM_RBUTTONDOWN: mManager.MouseDown(x, y, -1); break;
        case WM_RBUTTONDBLCLK: mManager.MouseDown(x, y, -2); break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: mManager.MouseDown(x, y, 3); break;
        case WM_LBUTTONUP: mManager.MouseUp(x, y, 1); break;
        case WM_RBUTTONUP: mManager.MouseUp(x, y, -1); break;
        case WM_MBUTTONUP: mManager.MouseUp(x, y, 3); break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam == VK_ESCAPE)
                Finish(false);
            else
                mManager.KeyDown(int(wParam));
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP: mManager.KeyUp(int(wParam)); break;
        case WM_CHAR: mManager.KeyChar(wchar_t(wParam)); break;
        default: break;
        }
    }

    void Draw(Image* screen) override
    {
        mManager.UpdateFrame();
        mManager.SetScreenImage(screen);
        mManager.MarkAllDirty();
        mManager.DrawScreen();
        mManager.SetScreenImage(nullptr);
    }

    void DialogButtonPress(int, int) override {}
    void DialogButtonRelease(int, int buttonId) override { Finish(buttonId == Dialog::kIdYes); }

private:
    QuollAppBase& mApp;
    WidgetManager mManager;
    std::unique_ptr<Dialog> mDialog;
    bool mFinished = false;
    bool mAccepted = false;
};

// The marker list: one line per marker, the selected one highlighted; a double click chooses.
class MarkerListWidget : public Widget
{
public:
    MarkerListWidget(const std::vector<DemoMarkerLine>& lines, Font* font, DialogRun& run)
        : mLines(lines), mFont(font), mRun(run)
    {
    }
    [[nodiscard]] int Chosen() const { return mChosen; }

    void Draw(Graphics* g) override
    {
        g->SetColor(Color(255, 255, 255));
        g->FillRect(0, 0, mWidth, mHeight);
        g->SetColor(Color(96, 96, 96));
        g->DrawRect(0, 0, mWidth - 1, mHeight - 1);
        if (mFont == nullptr)
            return;
        g->SetFont(mFont);
        const int lineHeight = LineHeight();
        for (size_t i = 0; i < mLines.size(); ++i)
        {
            const int top = 2 + int(i) * lineHeight;
            if (top >= mHeight)
                break;
            if (int(i) == mSelected)
            {
                g->SetColor(Color(40, 90, 200));
                g->FillRect(2, top, mWidth - 4, lineHeight);
                g->SetColor(Color(255, 255, 255));
            }
            else
                g->SetColor(Color(0, 0, 0));
            g->DrawString(StringToWString(mLines[i].text), 4, top + mFont->GetAscent());
        }
    }

    using Widget::MouseDown;
    void MouseDown(int, int y, int button, int clickCount) override
    {
        if (button != 0)
            return;
        const int line = (y - 2) / std::max(1, LineHeight());
        mSelected = y >= 2 && line < int(mLines.size()) ? line : -1;
        MarkDirty();
        if (clickCount == 2 && mSelected >= 0)
        {
            mChosen = mSelected;
            mRun.Finish(true);
        }
    }

private:
    [[nodiscard]] int LineHeight() const { return mFont != nullptr ? mFont->GetHeight() + 2 : 16; }

    std::vector<DemoMarkerLine> mLines;
    Font* mFont;
    DialogRun& mRun;
    int mSelected = -1;
    int mChosen = -1;
};

// The jump-to-time field: Enter is Ok.
class JumpField : public EditWidget, public EditListener
{
public:
    explicit JumpField(DialogRun& run) : EditWidget(100, this), mRun(run) {}
    void EditWidgetText(int, const std::wstring&) override { mRun.Finish(true); }

private:
    DialogRun& mRun;
};

std::unique_ptr<Dialog> MakeDialog(const std::wstring& title, int buttonMode, int height, const Font* font)
{
    auto dialog = std::make_unique<Dialog>(0, true, title, L"", L"", buttonMode);
    if (font != nullptr)
    {
        dialog->SetHeaderFont(font);
        dialog->SetLinesFont(font);
        dialog->SetButtonFont(font);
    }
    dialog->mContentInsets = {kMargin, kMargin, kMargin, kMargin};
    dialog->Resize(0, 0, kDialogWidth, height);
    return dialog;
}

// Where the dialog's content goes: below the title, above the buttons.
int ContentTop(const Font* font) { return kMargin + (font != nullptr ? font->GetHeight() : 0) + 8; }
} // namespace

DemoDialogs::DemoDialogs(QuollAppBase& app, const Font* font)
    : mApp(app), mFont(font != nullptr ? font->Duplicate() : nullptr)
{
}

DemoDialogs::~DemoDialogs() = default;

int DemoDialogs::ChooseMarker(const std::vector<DemoMarkerLine>& lines)
{
    DialogRun dialogRun(mApp, MakeDialog(L"Marker List", Dialog::kButtonsNone, kMarkerHeight, mFont.get()));
    auto* list = new MarkerListWidget(lines, mFont.get(), dialogRun);
    const int top = ContentTop(mFont.get());
    list->Resize(kMargin, top, kDialogWidth - 2 * kMargin, kMarkerHeight - top - kMargin);
    dialogRun.GetDialog().AddWidget(list);
    mApp.RunModal(dialogRun);
    return dialogRun.Accepted() ? list->Chosen() : -1;
}

bool DemoDialogs::AskJumpTime(std::string& text)
{
    DialogRun dialogRun(mApp, MakeDialog(L"Jump To Time", Dialog::kButtonsOkCancel, kJumpHeight, mFont.get()));
    Dialog& dialog = dialogRun.GetDialog();
    dialog.SetButtonLabel(Dialog::kIdYes, L"Ok");
    dialog.SetButtonLabel(Dialog::kIdNo, L"Cancel");
    auto* field = new JumpField(dialogRun);
    if (mFont != nullptr)
        field->SetFont(mFont.get());
    field->Resize(kMargin, ContentTop(mFont.get()), kDialogWidth - 2 * kMargin, kFieldHeight);
    field->SetText(StringToWString(text));
    field->mHilitePos = 0; // all of the stored text selected
    dialog.AddWidget(field);
    dialogRun.Manager().SetFocus(field);
    mApp.RunModal(dialogRun);
    if (!dialogRun.Accepted())
        return false;
    text = WStringToString(field->mString);
    return true;
}
} // namespace Quoll
