#include "game/screens/CreditsDlg.h"

#include "framework/core/Common.h"
#include "framework/display/Graphics.h"
#include "framework/display/Image.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

const std::array<const char*, 8> CreditsDlg::kNames = {
    "Varga T.", "Okonkwo A.", "Lindqvist M.", "Ferreira J.", "Nakamura K.", "Brennan S.", "Haddad R.", "Kowalczyk E.",
};

void CreditsDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "Credits";
    recipe.panelImage = "IMAGE_PNL_CREDITS";
    recipe.linesColor = ColorLabel;
    recipe.insets = {30, 23, 23, 20};
    if (!BuildFrom(recipe))
        return;
    mOkButton = AddButton({kCommandOk, "UI_OK"});
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void CreditsDlg::Detach()
{
    mOkButton = nullptr;
    QuollDialog::Detach();
}

void CreditsDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mOkButton == nullptr || mOkButton->mButtonImage == nullptr)
        return;
    const int imageWidth = mOkButton->mButtonImage->mWidth;
    const int imageHeight = mOkButton->mButtonImage->mHeight;
    mOkButton->Resize((width - imageWidth) / 2, height - imageHeight - 30, imageWidth, imageHeight);
}

void CreditsDlg::WriteCentred(Quoll::Graphics* g, const std::wstring& text, int baseline)
{
    if (g->GetFont() == nullptr)
        return;
    WriteString(g, text, (mWidth - g->GetFont()->StringWidth(text)) / 2, baseline);
}

void CreditsDlg::Draw(Quoll::Graphics* g)
{
    QuollDialog::Draw(g);
    UiServices& ui = Ui();
    g->SetColor(Quoll::Color::White);
    g->SetFont(ui.GetFontNamed("FONT_FNT2"));
    WriteCentred(g, ui.GetText("UI_CREDITS"), 120);
    g->SetColor(ColorLabel);
    g->SetFont(ui.GetFontNamed("FONT_FNT1"));
    int baseline = 160;
    for (const char* name : kNames)
    {
        WriteCentred(g, Quoll::StringToWString(name), baseline);
        baseline += 25;
    }
}
