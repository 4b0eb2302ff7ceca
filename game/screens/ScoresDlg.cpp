#include "game/screens/ScoresDlg.h"

#include "framework/core/Common.h"
#include "framework/display/Graphics.h"
#include "game/ui/Button.h"
#include "game/ui/FormatLocalised.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"

#include <string>

namespace
{
const Quoll::Color kNameColor{0x7607AF, 255};
const Quoll::Color kScoreColor{0x7100F0, 255};
constexpr int kRowStep = 75;
constexpr int kRowsBottom = 528;
} // namespace

void ScoresDlg::Attach(WidgetLink* link)
{
    DialogRecipe recipe;
    recipe.group = "HighScore";
    recipe.panelImage = "IMAGE_PNL_SCORES_BG";
    recipe.headerKey = "UI_HISCORE_CAPTION";
    recipe.linesColor = ColorLabel;
    if (!BuildFrom(recipe))
        return;
    mOkButton = AddButton({kCommandOk, "UI_OK"});
    CentreOnPanel();
    QuollDialog::Attach(link);
}

void ScoresDlg::Detach()
{
    mOkButton = nullptr;
    QuollDialog::Detach();
}

void ScoresDlg::Resize(int x, int y, int width, int height)
{
    QuollDialog::Resize(x, y, width, height);
    if (mOkButton != nullptr)
        mOkButton->PlaceAt(434, 525);
}

void ScoresDlg::Draw(Quoll::Graphics* g)
{
    QuollDialog::Draw(g);
    UiServices& ui = Ui();
    Quoll::Font* font = ui.GetFontNamed("FONT_FNT1");
    Quoll::Image* rowPanel = ui.GetImageNamed("IMAGE_PNL_SCORES");
    const auto& entries = mTable.GetEntries();
    g->SetImageTint(true);
    g->SetFont(font);
    for (int i = 0; i < kRows && 153 + kRowStep * i < kRowsBottom; ++i)
    {
        g->SetColor(Quoll::Color::White);
        g->DrawImage(rowPanel, 57, 153 + kRowStep * i);
        g->DrawImage(ui.GetImageNamed("IMAGE_PNL_SCORES" + std::to_string(i + 1)), 68, 172 + kRowStep * i);
        if (font == nullptr || i >= static_cast<int>(entries.size()))
            continue;
        const auto& entry = entries[static_cast<size_t>(i)];
        const int baseline = font->GetHeight() + 160 + kRowStep * i;
        const std::wstring name = Quoll::StringToWString(entry.name);
        const std::wstring score = FormatLocalised("score", L"%d", {entry.score});
        g->SetColor(kNameColor);
        WriteString(g, name, 216 - font->StringWidth(name) / 2, baseline);
        g->SetColor(kScoreColor);
        WriteString(g, score, 426 - font->StringWidth(score) / 2, baseline);
    }
    g->SetImageTint(false);
}
