#include "ScreenTestDoubles.h"

#include "framework/widgets/Widget.h"
#include "game/shell/SharedFonts.h"

#include <algorithm>
#include <cctype>

namespace ScreenTest
{
namespace
{
struct ImageSpec
{
    const char* name;
    int width, height;
    uint32_t fill, frame;
    int columns = 1;
};

// Sizes fit the dialogs' layouts; colours tell the pictures apart.
const ImageSpec kImages[] = {
    {"IMAGE_BTN1", 160, 48, 0xFF4A8FD8, 0xFFA8D4FF},
    {"IMAGE_BTN1_OVER", 160, 48, 0xFF6AB0F0, 0xFFFFFFFF},
    {"IMAGE_BTN1_DISABLED", 160, 48, 0xFF56606C, 0xFF8A949E},
    {"IMAGE_BTN2", 160, 48, 0xFF3FA27A, 0xFF9CE8C8},
    {"IMAGE_BTN2_OVER", 160, 48, 0xFF5CC496, 0xFFFFFFFF},
    {"IMAGE_BTN2_DISABLED", 160, 48, 0xFF56606C, 0xFF8A949E},
    {"IMAGE_BTN2_SELECTED", 160, 48, 0xFFE0A030, 0xFFFFE0A0},
    {"IMAGE_BTN3", 160, 48, 0xFF8F5AC8, 0xFFD8B8FF},
    {"IMAGE_BTN3_OVER", 160, 48, 0xFFAA7AE0, 0xFFFFFFFF},
    {"IMAGE_BTN3_DISABLED", 160, 48, 0xFF56606C, 0xFF8A949E},
    {"IMAGE_PANEL_EXIT", 560, 400, 0xFF1E2A44, 0xFF5A7AB8},
    {"IMAGE_PNL_CREDITS", 600, 480, 0xFF1E2A44, 0xFF5A7AB8},
    {"IMAGE_PNL_SCORES_BG", 600, 620, 0xFF1E2A44, 0xFF5A7AB8},
    {"IMAGE_PNL_SCORES", 480, 64, 0xFFD8E4F8, 0xFF8AA0C8},
    {"IMAGE_PNL_SCORES1", 40, 40, 0xFFF0C020, 0xFFFFF0A0},
    {"IMAGE_PNL_SCORES2", 40, 40, 0xFFC0C8D0, 0xFFFFFFFF},
    {"IMAGE_PNL_SCORES3", 40, 40, 0xFFC08040, 0xFFF0C8A0},
    {"IMAGE_PNL_SCORES4", 40, 40, 0xFF6080A0, 0xFFA0C0E0},
    {"IMAGE_PNL_SCORES5", 40, 40, 0xFF6080A0, 0xFFA0C0E0},
    {"IMAGE_PROFILE_DIALOG_BG", 600, 620, 0xFF1E2A44, 0xFF5A7AB8},
    {"IMAGE_EDIT_NAME_BACKGROUND", 560, 400, 0xFF1E2A44, 0xFF5A7AB8},
    {"IMAGE_EDIT_ITEM", 150, 36, 0xFFF4E8D0, 0xFF361E0B},
    {"IMAGE_SETTINGS_BG", 560, 620, 0xFF1E2A44, 0xFF5A7AB8},
    {"IMAGE_SETTING_SLIDER_TRACK", 220, 24, 0xFF303848, 0xFF6A7890},
    {"IMAGE_SETTING_SLIDER_THUMB", 220, 16, 0xFF40E070, 0xFF20A050, 10},
    {"IMAGE_SETTING_CHECKBOX", 32, 32, 0xFF303848, 0xFF6A7890},
    {"IMAGE_SETTING_CHECKBOX_CHECK", 32, 32, 0xFF40E070, 0xFF6A7890},
};

const char* const kSounds[] = {"SOUND_BUTTON_OVER", "SOUND_BUTTON_SELECT", "SOUND_GAMEMENU_SHOW"};

const char* const kTextKeys[] = {
    "UI_OK", "UI_YES", "UI_NO", "UI_ARE_YOU_SURE", "UI_SAVED_GAME_QUESTION", "UI_TUTORIAL_QUIT", "UI_CONTINUE",
    "UI_SAVE_QUIT", "UI_RESTART", "HINT_SAVE_AND_EXIT", "UI_CREDITS", "UI_HISCORE_CAPTION", "UI_GAMERS",
    "UI_ADD_PROFILE", "UI_DEL_PROFILE", "UI_EMPTY", "UI_TYPE_NAME", "UI_SELECT_COMPLEXITY", "UI_COMPLEXITY_EASY",
    "UI_COMPLEXITY_NORMAL", "HINT_EASY_MODE", "HINT_HARD_MODE", "UI_SETTINGS", "UI_LANG", "HINT_CHANGE_LANG",
    "UI_MUSIC_VOL", "UI_SOUND_VOL", "UI_SOUND_ENABLED", "UI_SOUND_DISABLED", "UI_FULL_SCREEN", "UI_CUSTOM_CURSOR",
    "HINT_CURSOR_SWITCH",
};

std::wstring Readable(const std::string& key)
{
    std::wstring text;
    for (size_t i = key.find('_') + 1; i < key.size(); ++i)
        text += key[i] == '_' ? L' ' : static_cast<wchar_t>(std::tolower(static_cast<unsigned char>(key[i])));
    if (!text.empty())
        text[0] = static_cast<wchar_t>(std::toupper(static_cast<int>(text[0])));
    return text;
}
} // namespace

std::unique_ptr<Quoll::MemoryImage> MakeFramedImage(int width, int height, uint32_t fill, uint32_t frame)
{
    auto image = UiTest::MakeImage(width, height, fill);
    uint32_t* bits = image->GetBits();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (x < 2 || y < 2 || x >= width - 2 || y >= height - 2)
                bits[y * width + x] = frame;
    image->BitsChanged();
    return image;
}

void PopulateServices(UiTest::FakeUiServices& ui, Quoll::Font* font)
{
    static std::vector<std::unique_ptr<Quoll::MemoryImage>> images;
    if (images.empty())
        for (const ImageSpec& wanted : kImages)
        {
            images.push_back(MakeFramedImage(wanted.width, wanted.height, wanted.fill, wanted.frame));
            images.back()->mNumCols = wanted.columns;
            images.back()->mFilePath = wanted.name;
        }
    for (size_t i = 0; i < images.size(); ++i)
        ui.Register(kImages[i].name, images[i].get());
    for (const char* sound : kSounds)
        ui.Register(sound);
    for (const char* key : kTextKeys)
        ui.texts[key] = Readable(key);
    ui.fonts["FONT_FNT1"] = font;
    ui.fonts["FONT_FNT2"] = font;
    SetSharedFonts(font);
}

ScreenHarness::ScreenHarness(Quoll::Font* font)
{
    PopulateServices(ui, font != nullptr ? font : &blockFont);
}

ScreenHarness::~ScreenHarness()
{
    host.ExitAll();
    ui.RunDeferredDeletes();
    SetSharedFonts(nullptr);
}

void ScreenHarness::ShowWidget(BaseWidget* widget)
{
    bool made = false;
    mLinks.push_back(std::make_unique<RecordingLink>(host, [widget, made]() mutable {
        BaseWidget* first = made ? nullptr : widget;
        made = true;
        return first;
    }));
    host.PushState(*mLinks.back());
}

void ScreenHarness::Close()
{
    host.PopState();
    ui.RunDeferredDeletes();
}

void ScreenHarness::Run(int updates)
{
    for (int i = 0; i < updates; ++i)
    {
        host.Update();
        ui.Step();
    }
}

void ScreenHarness::Click(const Quoll::Widget& widget)
{
    const Quoll::Point at = widget.GetAbsolutePosition();
    const int x = at.x + widget.mWidth / 2;
    const int y = at.y + widget.mHeight / 2;
    ui.manager.MouseMove(x, y);
    ui.manager.MouseDown(x, y, 1);
    ui.manager.MouseUp(x, y, 1);
}

void ScreenHarness::Key(int keyCode)
{
    ui.manager.KeyDown(keyCode);
    ui.manager.KeyUp(keyCode);
}

void ScreenHarness::Type(const std::wstring& text)
{
    for (wchar_t c : text)
        ui.manager.KeyChar(c);
}

void RenderScreen(ScreenHarness& harness, int updates)
{
    harness.Run(updates);
}
} // namespace ScreenTest
