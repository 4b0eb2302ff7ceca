// Every dialog of the game drawn from the generated data on the 2D path, in the state a player
// first sees it (a name typed, the pointer over a control with a hint), against its golden image
// in tests/golden/dialogs. The goldens pin the art and the layout together; the checks that the
// art fits the layouts are in DialogBuildTest.
// Rerun: test_dialogdata --gtest_filter='DialogData.EveryDialog*'; QUOLL_UPDATE_GOLDEN=1 rewrites.
#include "tests/GoldenImage.h"
#include "tests/shell/dialogs/DialogDataFixture.h"

namespace DialogDataTest
{
namespace
{
TEST_F(DialogData, EveryDialogMatchesItsGolden)
{
    for (const DialogScene& scene : DialogScenes())
    {
        SCOPED_TRACE(scene.name);
        ASSERT_TRUE(Show(scene).IsWidgetAttached());
        const std::vector<uint32_t> pixels = Render();
        EXPECT_TRUE(Quoll::Testing::MatchesAreaGolden("dialogs", scene.name, pixels.data(), kScreenWidth,
                                                      kScreenHeight, 2));
        Close();
    }
}
} // namespace
} // namespace DialogDataTest
