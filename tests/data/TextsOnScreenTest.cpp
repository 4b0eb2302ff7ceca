// The texts against the generated data: every baked font holds every character of every text in
// both languages, every comics page leaves room for its caption in either language between the
// page and the next button, the first page with its caption matches its golden image, and the
// message box's text stays in short lines whatever folder it names.
#include "tests/data/GameDataFiles.h"
#include "tests/GoldenImage.h"

#include "framework/core/Common.h"
#include "framework/display/Graphics.h"
#include "framework/display/MemoryImage.h"
#include "framework/files/ImageLib.h"
#include "framework/widgets/ImageFont.h"
#include "game/shell/Localisation.h"
#include "game/shell/MessageBoxText.h"
#include "game/ui/FormatLocalised.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>

namespace
{
namespace fs = std::filesystem;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// Where the comics viewer puts its next button: the caption must end above it.
constexpr int kNextButtonTop = 710;

struct TextsInBothLanguages
{
    Localisation texts;
    std::vector<std::string> keys;
    int english = 0, german = 0;

    TextsInBothLanguages()
    {
        const std::string xml = DataTest::ReadAll(QUOLL_SOURCE_DIR "/data/texts.xml");
        EXPECT_TRUE(texts.LoadFromString(xml, "data/texts.xml")) << texts.GetErrorText();
        const std::regex name("<text name=\"([A-Za-z0-9_]+)\"");
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), name); it != std::sregex_iterator(); ++it)
            keys.push_back((*it)[1].str());
        for (const Localisation::Locale& locale : texts.GetLocales())
            (locale.name == "de" ? german : english) = locale.id;
    }

    std::wstring Text(const std::string& key, int locale)
    {
        texts.SetLocale(locale);
        return texts.GetText(key);
    }
};

std::unique_ptr<Quoll::ImageFont> BakedFont(const std::string& path)
{
    std::string error;
    auto font = Quoll::ImageFont::Load((fs::path(QUOLL_GAME_DATA) / path).string(), error);
    EXPECT_NE(font, nullptr) << path << ": " << error;
    return font;
}

std::unique_ptr<Quoll::MemoryImage> GeneratedImage(const std::string& path)
{
    const auto picture = ImageLib::ReadImageFile((fs::path(QUOLL_GAME_DATA) / path).string());
    if (!picture)
        return nullptr;
    auto image = std::make_unique<Quoll::MemoryImage>();
    image->Create(picture->GetWidth(), picture->GetHeight());
    image->SetBits(picture->GetBits(), picture->GetWidth(), picture->GetHeight());
    return image;
}

// Where the viewer draws a page of the given size: centred, its top margin a third of the side
// margin, the caption's first baseline as far below the page.
struct PagePlace
{
    int x = 0, y = 0, captionBaseline = 0;

    PagePlace(int width, int height)
    {
        x = (kScreenWidth - width) / 2;
        y = x / 3;
        captionBaseline = height + 2 * y;
    }
};

struct ComicPage
{
    std::string path;
    std::string caption;
};

const std::vector<ComicPage> kComicPages = {
    {"data/art/textures/comics/comic1.png", "UI_COMIC_STR1"},   {"data/art/textures/comics/comic2.png", "UI_COMIC_STR2"},
    {"data/art/textures/comics/comic3.png", "UI_COMIC_STR3"},   {"data/art/textures/comics/comic4.png", "UI_COMIC_STR4"},
    {"data/art/textures/comics/comic5.png", "UI_COMIC_STR5"},   {"data/art/textures/comics/comic6.png", "UI_COMIC_STR6"},
    {"data/art/textures/comics/comic7.png", "UI_COMIC_STR7"},   {"data/art/textures/comics/fcomic1.png", "UI_FCOMIC_STR1"},
    {"data/art/textures/comics/fcomic2.png", "UI_FCOMIC_STR2"},
};

TEST(TextsOnScreen, EveryBakedFontHoldsEveryCharacterOfBothLanguages)
{
    TextsInBothLanguages all;
    std::set<wchar_t> characters;
    for (const std::string& key : all.keys)
        for (int locale : {all.english, all.german})
            for (wchar_t c : all.Text(key, locale))
                if (c != L'\n') // a line break of a message box's text, no glyph
                    characters.insert(c);
    for (wchar_t c : {L'ä', L'ö', L'ü', L'ß', L'Ü'})
        EXPECT_TRUE(characters.count(c)) << "the German texts are read as UTF-8";

    int fonts = 0;
    for (const ResGen::Entry& entry : DataTest::MasterTable())
    {
        if (entry.kind != ResGen::Kind::Font)
            continue;
        ++fonts;
        const auto font = BakedFont(entry.path);
        ASSERT_NE(font, nullptr);
        const Quoll::ImageFont::Glyph* question = font->FindGlyph(L'?');
        ASSERT_NE(question, nullptr) << entry.name;
        for (wchar_t c : characters)
            EXPECT_TRUE(c == L'?' || font->FindGlyph(c) != question)
                << entry.name << " lacks U+" << std::hex << static_cast<int>(c);
    }
    EXPECT_EQ(fonts, 5);
}

TEST(TextsOnScreen, EveryComicsPageLeavesRoomForItsCaptionInBothLanguages)
{
    TextsInBothLanguages all;
    const auto font = BakedFont("data/fonts/fnt1.txt");
    ASSERT_NE(font, nullptr);
    Quoll::Graphics g;
    g.SetFont(font.get());
    for (const ComicPage& page : kComicPages)
    {
        const auto image = GeneratedImage(page.path);
        ASSERT_NE(image, nullptr) << page.path;
        EXPECT_LE(image->mWidth, kScreenWidth) << page.path;
        const PagePlace place(image->mWidth, image->mHeight);
        const int captionTop = place.captionBaseline - font->GetAscent() + font->GetAscentPadding();
        EXPECT_GT(captionTop, place.y + image->mHeight) << page.path << ": the caption runs into the page";
        for (int locale : {all.english, all.german})
        {
            const std::wstring caption = all.Text(page.caption, locale);
            const int height = g.MeasureWordWrappedHeight(image->mWidth, caption, font->GetLineSpacing());
            EXPECT_LE(captionTop + height, kNextButtonTop)
                << page.caption << " in locale " << locale << " runs into the next button";
        }
    }
}

TEST(TextsOnScreen, TheFirstComicsPageWithItsCaptionMatchesItsImage)
{
    TextsInBothLanguages all;
    const auto font = BakedFont("data/fonts/fnt1.txt");
    const auto page = GeneratedImage(kComicPages[0].path);
    ASSERT_TRUE(font && page);
    Quoll::MemoryImage screen;
    screen.Create(kScreenWidth, kScreenHeight);
    Quoll::Graphics g(&screen);
    g.SetColor(Quoll::Color::Black);
    g.FillRect(0, 0, kScreenWidth, kScreenHeight);
    const PagePlace place(page->mWidth, page->mHeight);
    g.DrawImage(page.get(), place.x, place.y);
    g.SetColor(Quoll::Color::White);
    g.SetFont(font.get());
    g.DrawStringWordWrapped(all.Text(kComicPages[0].caption, all.english), place.x, place.captionBaseline,
                            page->mWidth, 0);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("data", "comic1_page", screen.GetBits(), kScreenWidth, kScreenHeight));
}

// The one message box the game fills in (the save failure), in both languages, for every file it
// can name and a long folder: every line at most kMessageBoxLineLength characters, and nothing
// of the text lost (the folder, and that the game tries again).
TEST(TextsOnScreen, TheSaveFailureBoxKeepsItsLinesShortInBothLanguages)
{
    TextsInBothLanguages all;
    const std::wstring folder = L"/home/" + std::wstring(48, L'w') + L"/.local/share/Nordwick/PetriGlowSaga";
    const std::wstring file = L"Cornelius-Bartholomew-Wilhelmina.dat";
    for (int locale : {all.english, all.german})
        for (const std::string& key : all.keys)
        {
            if (!key.starts_with("UI_SAVE_WHAT_"))
                continue;
            std::string reason;
            const auto what = FormatChecked(all.Text(key, locale), {file}, reason).value_or(all.Text(key, locale));
            const auto text = FormatChecked(all.Text("UI_SAVE_FAILED", locale), {what, folder}, reason);
            ASSERT_TRUE(text) << reason;
            const std::wstring lines = BreakIntoLines(*text);
            size_t count = 0;
            for (size_t start = 0, end = 0; end != std::wstring::npos; start = end + 1, ++count)
            {
                end = lines.find(L'\n', start);
                const std::wstring line = lines.substr(start, end == std::wstring::npos ? end : end - start);
                EXPECT_LE(line.size(), kMessageBoxLineLength)
                    << key << " in locale " << locale << ": " << Quoll::WStringToString(line);
            }
            EXPECT_GE(count, 4u) << key;
            const auto squeezed = [](std::wstring text) {
                std::erase_if(text, [](wchar_t c) { return c == L'\n' || c == L' '; });
                return text;
            };
            EXPECT_EQ(squeezed(lines), squeezed(*text)) << key << " in locale " << locale;
        }
}
} // namespace
