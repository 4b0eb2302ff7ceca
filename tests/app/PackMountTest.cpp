// The start-up pack: a missing one is silent, an empty or garbage one is logged with its path,
// and the caller receives the same reason.
// Rerun one case: test_app --gtest_filter='PackMount.*'
#include "TestApp.h"

#include "framework/app/ErrorLog.h"
#include "framework/app/PackMount.h"
#include "framework/files/PakInterface.h"

#include <gtest/gtest.h>

using namespace Quoll;
using namespace QuollTest;

TEST(PackMount, AnUnreadablePackIsLoggedWithItsPathAndAMissingOneIsNot)
{
    ScratchFolder folder("pack");
    const std::string logFile = (folder / "ScrError.txt").string();
    ErrorLog log(logFile);
    PakInterface paks;
    EXPECT_FALSE(MountPackFileOrLog(paks, (folder / "main.pak").string(), log));
    EXPECT_FALSE(std::filesystem::exists(logFile));

    for (const std::string& content : {std::string(), std::string("not a pack file at all")})
    {
        const std::string pack = (folder / ("main" + std::to_string(content.size()) + ".pak")).string();
        std::ofstream(pack, std::ios::binary) << content;
        std::string error;
        EXPECT_FALSE(MountPackFileOrLog(paks, pack, log, &error));
        EXPECT_NE(ReadFileText(logFile).find(error + " "), std::string::npos) << ReadFileText(logFile);
        EXPECT_EQ(error.rfind("Cannot mount pack file " + pack + ": ", 0), 0u) << error;
    }
}
