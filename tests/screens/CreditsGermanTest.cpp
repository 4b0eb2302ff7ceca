// The credits dialog in German, with the game's own texts, as a golden image on the 2D path
// (tests/golden/screens/credits_de.png).
#include "ScreenGallery.h"
#include "tests/GoldenImage.h"

#include "game/screens/CreditsDlg.h"
#include "game/shell/Localisation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace
{
TEST(CreditsGerman, TheDialogWithTheGermanTextsMatchesItsImage)
{
    std::ifstream file(QUOLL_SOURCE_DIR "/data/texts.xml", std::ios::binary);
    Localisation texts;
    ASSERT_TRUE(texts.LoadFromString({std::istreambuf_iterator<char>(file), {}}, "data/texts.xml"))
        << texts.GetErrorText();
    for (const Localisation::Locale& locale : texts.GetLocales())
        if (locale.name == "de")
            texts.SetLocale(locale.id);
    ASSERT_EQ(texts.GetLocaleName(), "de");

    auto harness = ScreenTest::MakeGalleryHarness();
    ASSERT_NE(harness, nullptr) << "no system font";
    for (const char* key : {"UI_CREDITS", "UI_OK"})
        harness->ui.texts[key] = texts.GetText(key);
    harness->Show(new CreditsDlg);
    harness->Run(3);
    EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("screens", "credits_de", harness->ui.screen.GetBits(),
                                                 harness->ui.appWidth, harness->ui.appHeight));
}
} // namespace
