// The dialogs against the generated data as a player meets them: every resource group the game's
// code names exists and loads; a dialog's own group holds only pictures no other screen needs
// (its detach unloads it); every dialog builds and attaches in every language, its controls
// inside its panel, its header and button labels within their room; closing one leaves the
// shared pictures loaded; and the labels read on the pictures under them, measured as the
// contrast of text and background luminance (4.5 for text a player must read, 3 where one face
// serves two label colours).
// Rerun: test_dialogdata --gtest_filter='DialogData.*'.
#include "tests/shell/dialogs/DialogDataFixture.h"

#include "framework/core/Common.h"
#include "framework/display/Font.h"
#include "framework/display/Graphics.h"
#include "game/screens/CreditsDlg.h"
#include "game/ui/Button.h"
#include "game/ui/GameColors.h"
#include "game/ui/UiServices.h"
#include "tools/resgen/ResourceTable.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>

namespace DialogDataTest
{
namespace
{
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The game's sources by path relative to the source folder.
std::map<std::string, std::string> GameSources()
{
    std::map<std::string, std::string> sources;
    const fs::path root(QUOLL_SOURCE_DIR);
    for (const auto& entry : fs::recursive_directory_iterator(root / "game"))
        if (entry.path().extension() == ".cpp" || entry.path().extension() == ".h")
            sources[fs::relative(entry.path(), root).string()] = ReadFile(entry.path());
    return sources;
}

// The names in double quotes on the code lines that speak of a group ("Map", "ExitDialog"):
// each a resource group the code loads or unloads by name.
std::set<std::string> GroupNamesIn(const std::string& text)
{
    static const std::regex kName("\"([A-Z][A-Za-z0-9]*)\"");
    std::set<std::string> names;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t code = line.find_first_not_of(" \t");
        if (code == std::string::npos || line.compare(code, 2, "//") == 0 || line.find("roup") == std::string::npos)
            continue;
        for (std::sregex_iterator it(line.begin(), line.end(), kName), last; it != last; ++it)
            names.insert((*it)[1]);
    }
    return names;
}

std::vector<ResGen::Entry> IdTable()
{
    std::vector<ResGen::Entry> entries;
    std::string error;
    EXPECT_TRUE(ResGen::ParseTable(ReadFile(fs::path(QUOLL_SOURCE_DIR) / "data/resource_ids.txt"), entries, error))
        << error;
    return entries;
}

// --- Luminance and contrast of sRGB colours ------------------------------------------------------

struct Rgb
{
    double r = 0, g = 0, b = 0;
};

Rgb Of(const Quoll::Color& c)
{
    return {c.r / 255.0, c.g / 255.0, c.b / 255.0};
}

// A colour drawn with its alpha over another.
Rgb Over(const Quoll::Color& top, const Rgb& under)
{
    const double a = top.a / 255.0;
    const Rgb t = Of(top);
    return {t.r * a + under.r * (1 - a), t.g * a + under.g * (1 - a), t.b * a + under.b * (1 - a)};
}

double Luminance(const Rgb& c)
{
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double Contrast(const Rgb& a, const Rgb& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The mean colour of the picture's opaque pixels in the rectangle (clipped to the picture).
Rgb MeanColour(Quoll::Image* image, Quoll::Rect rect)
{
    auto* memory = dynamic_cast<Quoll::MemoryImage*>(image);
    if (memory == nullptr || memory->GetBits() == nullptr)
        return {};
    const uint32_t* bits = memory->GetBits();
    double r = 0, g = 0, b = 0;
    int count = 0;
    for (int y = std::max(0, rect.y); y < std::min(image->mHeight, rect.y + rect.height); ++y)
        for (int x = std::max(0, rect.x); x < std::min(image->mWidth, rect.x + rect.width); ++x)
        {
            const uint32_t p = bits[y * image->mWidth + x];
            if ((p >> 24) < 200)
                continue;
            r += (p >> 16 & 0xFF) / 255.0, g += (p >> 8 & 0xFF) / 255.0, b += (p & 0xFF) / 255.0;
            ++count;
        }
    return count > 0 ? Rgb{r / count, g / count, b / count} : Rgb{};
}

// Where a button's label stands: the middle of its face.
Rgb LabelGround(Quoll::Image* face)
{
    return MeanColour(face, {face->mWidth / 4, face->mHeight * 3 / 10, face->mWidth / 2, face->mHeight * 2 / 5});
}

const DialogScene& SceneNamed(const std::string& name)
{
    for (const DialogScene& scene : DialogScenes())
        if (scene.name == name)
            return scene;
    throw std::logic_error("no scene " + name);
}

Quoll::Image* Picture(const std::string& name)
{
    Quoll::Image* image = Ui().GetImageNamed(name);
    EXPECT_NE(image, nullptr) << name;
    return image;
}

TEST_F(DialogData, EveryGroupTheGameNamesExistsAndLoads)
{
    std::set<std::string> groups;
    for (const auto& [path, text] : GameSources())
        for (const std::string& name : GroupNamesIn(text))
            groups.insert(name);
    // The scan finds the dialogs' groups at least.
    for (const char* dialogGroup : {"EditName", "ProfileDialog", "Credits", "ExitDialog", "HighScore", "Settings"})
        EXPECT_TRUE(groups.count(dialogGroup)) << dialogGroup;
    for (const std::string& group : groups)
    {
        EXPECT_TRUE(App().LoadResourceGroup(group)) << group;
        if (group != "Fonts" && group != "PreInterface" && group != "Interface")
            App().UnloadResourceGroup(group);
    }
}

// A picture of a dialog's group is named only by the dialogs that load the group and by widget
// classes that only those dialogs make; anything else would lose it when the dialog closes.
TEST_F(DialogData, ADialogsGroupHoldsOnlyItsOwnPictures)
{
    static const std::regex kRecipeGroup("recipe\\.group = \"([A-Za-z0-9]+)\"");
    const std::map<std::string, std::string> sources = GameSources();
    std::map<std::string, std::set<std::string>> loaders; // group -> the dialogs' files
    for (const auto& [path, text] : sources)
        for (std::sregex_iterator it(text.begin(), text.end(), kRecipeGroup), last; it != last; ++it)
            loaders[(*it)[1]].insert(path);
    ASSERT_GE(loaders.size(), 6u);
    const auto stem = [](const std::string& path) { return fs::path(path).stem().string(); };
    for (const ResGen::Entry& entry : IdTable())
    {
        const auto group = loaders.find(entry.group);
        if (group == loaders.end())
            continue;
        std::set<std::string> owners; // the dialogs' classes
        for (const std::string& file : group->second)
            owners.insert(stem(file));
        for (const auto& [path, text] : sources)
        {
            if (text.find("\"" + entry.name + "\"") == std::string::npos || owners.count(stem(path)))
                continue;
            // A widget of the game's toolkit is fine when only the group's dialogs make it.
            bool onlyOwnersMakeIt = path.rfind("game/ui/", 0) == 0;
            for (const auto& [otherPath, otherText] : sources)
                if (onlyOwnersMakeIt && stem(otherPath) != stem(path) && !owners.count(stem(otherPath)) &&
                    otherText.find(stem(path) + "(") != std::string::npos)
                    onlyOwnersMakeIt = false;
            EXPECT_TRUE(onlyOwnersMakeIt) << entry.name << " of group " << entry.group << " is named by " << path;
        }
    }
}

TEST_F(DialogData, EveryDialogBuildsAndFitsItsPanelInEveryLanguage)
{
    Localisation& texts = App().GetLocalisation();
    const int startLocale = texts.GetLocaleId();
    for (const Localisation::Locale& locale : texts.GetLocales())
    {
        ASSERT_TRUE(texts.SetLocale(locale.id));
        for (const DialogScene& scene : DialogScenes())
        {
            SCOPED_TRACE(scene.name + " in " + locale.name);
            DialogLink& link = Show(scene);
            ASSERT_TRUE(link.IsWidgetAttached());
            const QuollDialog& dialog = *link.Dialog();
            ASSERT_NE(dialog.mComponentImage, nullptr);
            EXPECT_EQ(dialog.mWidth, dialog.mComponentImage->mWidth);
            EXPECT_EQ(dialog.mHeight, dialog.mComponentImage->mHeight);
            EXPECT_GE(dialog.mX, 0);
            EXPECT_GE(dialog.mY, 0);
            const int inner = dialog.mWidth - dialog.mContentInsets.left - dialog.mContentInsets.right;
            if (!dialog.mDialogHeader.empty())
            {
                EXPECT_LE(dialog.GetHeaderFont()->StringWidth(dialog.mDialogHeader), inner);
            }
            int controlsTop = dialog.mHeight;
            for (const Quoll::Widget* child : dialog.GetWidgets())
            {
                if (!child->mVisible)
                    continue;
                controlsTop = std::min(controlsTop, child->mY);
                EXPECT_GE(child->mX, 0);
                EXPECT_GE(child->mY, 0);
                EXPECT_LE(child->mX + child->mWidth, dialog.mWidth);
                EXPECT_LE(child->mY + child->mHeight, dialog.mHeight);
                const auto* button = dynamic_cast<const Quoll::Button*>(child);
                if (button == nullptr)
                    continue;
                EXPECT_NE(button->mButtonImage, nullptr);
                EXPECT_NE(button->mOverImage, nullptr);
                EXPECT_LE(button->GetFont()->StringWidth(button->mLabel) + 16, button->mWidth)
                    << Quoll::WStringToString(button->mLabel);
            }
            // A question stands between the top and the buttons.
            if (!dialog.mDialogLines.empty())
            {
                Quoll::Graphics g(&mScreen);
                g.SetFont(dialog.GetLinesFont());
                EXPECT_LE(dialog.mContentInsets.top + g.MeasureWordWrappedHeight(inner, dialog.mDialogLines),
                          controlsTop);
            }
            Close();
            // The shared pictures outlive the dialog.
            EXPECT_NE(Ui().GetImageNamed("IMAGE_BTN1"), nullptr);
            EXPECT_NE(Ui().GetImageNamed("IMAGE_BTN2_OVER"), nullptr);
        }
    }
    texts.SetLocale(startLocale);
}

TEST_F(DialogData, ButtonLabelsReadOnEveryFace)
{
    const Rgb label = Of(ColorLabel), over = Of(ColorLabelOver);
    for (const char* style : {"IMAGE_BTN1", "IMAGE_BTN2", "IMAGE_BTN3"})
    {
        SCOPED_TRACE(style);
        const std::string name(style);
        EXPECT_GE(Contrast(label, LabelGround(Picture(name))), 4.5);
        EXPECT_GE(Contrast(over, LabelGround(Picture(name + "_OVER"))), 4.5);
        // Disabled: the shade at its alpha over the grey face, faded yet legible.
        const Rgb disabled = LabelGround(Picture(name + "_DISABLED"));
        EXPECT_GE(Contrast(Over(ColorButtonShade, disabled), disabled), 1.8);
    }
    // The selected profile slot is one face under both label colours.
    const Rgb selected = LabelGround(Picture("IMAGE_BTN2_SELECTED"));
    EXPECT_GE(Contrast(label, selected), 3.0) << Contrast(over, selected);
    EXPECT_GE(Contrast(over, selected), 3.0);
}

TEST_F(DialogData, DialogTextsReadOnTheirPictures)
{
    // The typed name on the name field.
    Show(SceneNamed("profile_name"));
    Quoll::Image* field = Picture("IMAGE_EDIT_ITEM");
    EXPECT_GE(Contrast(Of(ColorLabel), MeanColour(field, {8, 8, field->mWidth - 16, field->mHeight - 16})), 4.5);
    // Each header, white, on the panel behind it.
    for (const DialogScene& scene : DialogScenes())
    {
        SCOPED_TRACE(scene.name);
        const QuollDialog& dialog = *Show(scene).Dialog();
        if (dialog.mDialogHeader.empty())
            continue;
        Quoll::Font* font = dialog.GetHeaderFont();
        const int width = font->StringWidth(dialog.mDialogHeader);
        const int inner = dialog.mWidth - dialog.mContentInsets.left - dialog.mContentInsets.right;
        const Quoll::Rect under{dialog.mContentInsets.left + (inner - width) / 2, dialog.mContentInsets.top, width,
                                font->GetHeight()};
        EXPECT_GE(Contrast(Of(Quoll::Color::White), MeanColour(dialog.mComponentImage, under)), 4.5);
    }
    // Each body text, in the colour its dialog draws it, on the panel's inner area.
    for (const DialogScene& scene : DialogScenes())
    {
        SCOPED_TRACE(scene.name);
        const QuollDialog& dialog = *Show(scene).Dialog();
        if (dialog.mDialogLines.empty())
            continue;
        const Quoll::Insets& in = dialog.mContentInsets;
        const Quoll::Rect body{in.left, in.top, dialog.mWidth - in.left - in.right, dialog.mHeight - in.top - in.bottom};
        EXPECT_GE(Contrast(Of(dialog.GetColor(1)), MeanColour(dialog.mComponentImage, body)), 4.5);
    }
    // The end-level dialog's score lines: it asks for the label colour, on its dark panel.
    ASSERT_TRUE(App().LoadResourceGroup("EndLevel"));
    Quoll::Image* endLevel = Picture("IMAGE_PANEL_ENDLEVEL");
    EXPECT_GE(Contrast(Of(ReadableTextColor(endLevel, ColorLabel)), MeanColour(endLevel, {44, 120, 454, 200})), 4.5);
    // The high-score rows' names and scores on the row picture.
    Show(SceneNamed("scores"));
    Quoll::Image* row = Picture("IMAGE_PNL_SCORES");
    const Rgb rowGround = MeanColour(row, {60, 8, row->mWidth - 120, row->mHeight - 16});
    EXPECT_GE(Contrast(Of(Quoll::Color(0x7607AF, 255)), rowGround), 4.5);
    EXPECT_GE(Contrast(Of(Quoll::Color(0x7100F0, 255)), rowGround), 4.5);
    // The credits' names, in the label colour, on the credits panel where each is written.
    const QuollDialog& credits = *Show(SceneNamed("credits")).Dialog();
    Quoll::Font* names = Ui().GetFontNamed("FONT_FNT1");
    int baseline = 160;
    for (const char* person : CreditsDlg::kNames)
    {
        const std::wstring text = Quoll::StringToWString(person);
        const int width = names->StringWidth(text);
        const Quoll::Rect under{(credits.mWidth - width) / 2, baseline - names->GetAscent(), width, names->GetHeight()};
        EXPECT_GE(Contrast(Of(ColorLabel), MeanColour(credits.mComponentImage, under)), 4.5) << person;
        baseline += 25;
    }
}
// The end-level panel's separator line runs between its header (written 75 below the top in the
// header font) and the score lines that follow 10 below the header: the brightest row of the
// panel's upper part lies there.
TEST_F(DialogData, TheEndLevelPanelsLineRunsUnderItsHeader)
{
    ASSERT_TRUE(App().LoadResourceGroup("EndLevel"));
    Quoll::Image* panel = Picture("IMAGE_PANEL_ENDLEVEL");
    Quoll::Font* header = Ui().GetFontNamed("FONT_FNT2");
    ASSERT_TRUE(panel != nullptr && header != nullptr);
    int brightest = -1;
    double most = -1;
    for (int y = 30; y < 200; ++y)
    {
        const double light = Luminance(MeanColour(panel, {60, y, panel->mWidth - 120, 1}));
        if (light > most)
            most = light, brightest = y;
    }
    const int headerBottom = 75 + header->GetHeight();
    EXPECT_GT(brightest, headerBottom);
    EXPECT_LT(brightest, headerBottom + 10);
}
// A modal dialog hides what lies under it (the main menu's pipette below the name, difficulty,
// exit and credits dialogs): every dialog's panel is opaque inside its rounded frame. The frame
// opens at most a little above the header, so that no empty band stands over the title.
TEST_F(DialogData, EveryPanelIsOpaqueInsideItsFrame)
{
    for (const DialogScene& scene : DialogScenes())
    {
        SCOPED_TRACE(scene.name);
        const QuollDialog& dialog = *Show(scene).Dialog();
        Quoll::Image* panel = dialog.mComponentImage;
        auto* pixels = dynamic_cast<Quoll::MemoryImage*>(panel);
        ASSERT_TRUE(pixels != nullptr && pixels->GetBits() != nullptr);
        // The frame's top: the first opaque row down the middle.
        int frameTop = 0;
        while (frameTop < panel->mHeight && (pixels->GetBits()[frameTop * panel->mWidth + panel->mWidth / 2] >> 24) < 255)
            ++frameTop;
        if (!dialog.mDialogHeader.empty())
        {
            EXPECT_LE(dialog.mContentInsets.top - frameTop, 45) << "the band above the header";
        }
        // Inside the frame: clear of the 10-pixel margin and the corners' 24-pixel radius.
        constexpr int kInset = 36;
        int clear = 0;
        for (int y = frameTop + kInset - 10; y < panel->mHeight - kInset; ++y)
            for (int x = kInset; x < panel->mWidth - kInset; ++x)
                clear += (pixels->GetBits()[y * panel->mWidth + x] >> 24) < 255 ? 1 : 0;
        EXPECT_EQ(clear, 0);
        Close();
    }
}
} // namespace
} // namespace DialogDataTest
