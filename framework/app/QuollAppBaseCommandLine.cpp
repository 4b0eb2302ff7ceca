// The application's command-line options and the numbered demo files they choose.
#include "framework/app/CommandLine.h"
#include "framework/core/Common.h"
#include "framework/demo/DemoFile.h"
#include "framework/crash/CrashCatcher.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/system/Path.h"
#include "framework/platform/system/ProgramInfo.h"
#include "framework/platform/system/TextHelpers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Quoll
{
void QuollAppBase::ParseCommandLine()
{
    std::vector<std::string> arguments = Platform::ProgramArguments();
    mCommandLineParsed = true;
    if (arguments.size() > 1)
        ParseCommandLineString(JoinCommandLineArguments({arguments.begin() + 1, arguments.end()}));
}

void QuollAppBase::ParseCommandLineString(const std::string& text)
{
    for (const CommandLineOption& pair : SplitCommandLine(text))
        HandleCmdLineParam(pair.first, pair.second);
}

void QuollAppBase::HandleCmdLineParam(const std::string& option, const std::string& value)
{
    if (option == "-play")
    {
        mPlayingDemo = true;
        mRecordingDemo = false;
    }
    else if (option == "-recnum")
    {
        // Keeps the newest N numbered demos (5 by default) and records the next number.
        int keep = std::atoi(value.c_str());
        if (keep <= 0)
            keep = 5;
        const std::string prefix = WithDataFolder(mDemoPrefix);
        mDemoFileName = NumberedDemoName(prefix, FindHighestDemoNumber(prefix, keep, true) + 1);
        mRecordingDemo = true;
        mPlayingDemo = false;
    }
    else if (option == "-playnum")
    {
        // 1 plays the newest numbered demo, 2 the one before, ...
        int age = std::atoi(value.c_str()) - 1;
        if (age < 0)
            age = 0;
        const std::string prefix = WithDataFolder(mDemoPrefix);
        mDemoFileName = NumberedDemoName(prefix, FindHighestDemoNumber(prefix, age, false) - age);
        mPlayingDemo = true;
        mRecordingDemo = false;
    }
    else if (option == "-record")
    {
        mRecordingDemo = true;
        mPlayingDemo = false;
    }
    else if (option == "-demofile")
        mDemoFileName = WithDataFolder(value);
    else if (option == "-crash")
        CrashCatcher::ForceCrashReport(); // a real fault, reported like any other
    else if (option == "-screensaver")
        mIsScreenSaver = true;
    else if (option == "-changedir")
        mWorkingFolder = value;
    else
    {
        PopupW(GetString("INVALID_COMMANDLINE_PARAM", L"Invalid command line parameter: ") +
               StringToWString(option));
        DoExit(1); // a failure: the program did not run
    }
}
} // namespace Quoll
