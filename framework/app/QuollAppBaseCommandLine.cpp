// The application's command-line options and the numbered demo files they choose.
#include "framework/app/CommandLine.h"
#include "framework/app/Common.h"
#include "framework/app/QuollAppBase.h"
#include "framework/platform/Path.h"
#include "framework/platform/ProgramInfo.h"
#include "framework/platform/TextHelpers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace Quoll
{
namespace
{
std::string NumberedDemoName(const std::string& prefix, int number)
{
    return prefix + std::to_string(number) + ".dmo";
}

// The number N of a file named <stem>N.dmo; -1 for any other name.
int DemoNumberOf(const std::string& name, const std::string& stem)
{
    constexpr std::string_view kExtension = ".dmo";
    if (name.size() <= stem.size() + kExtension.size() || name.compare(0, stem.size(), stem) != 0)
        return -1;
    const std::string digits = name.substr(stem.size(), name.size() - stem.size() - kExtension.size());
    if (!Platform::EqualNoCaseAscii(std::string_view(name).substr(name.size() - kExtension.size()), kExtension))
        return -1;
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::atoi(digits.c_str());
}
} // namespace

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
        std::abort(); // the crash catcher takes an abort as it takes any fault
    else if (option == "-screensaver")
        mIsScreenSaver = true;
    else if (option == "-changedir")
        mWorkingFolder = value;
    else
    {
        PopupW(GetString("INVALID_COMMANDLINE_PARAM", L"Invalid command line parameter: ") +
               StringToWString(option));
        DoExit(0);
    }
}

int QuollAppBase::FindHighestDemoNumber(const std::string& prefix, int keepCount, bool deleteOldest)
{
    const size_t separator = prefix.find_last_of("/\\");
    const std::string stem = separator == std::string::npos ? prefix : prefix.substr(separator + 1);
    int count = 0, lowest = -1, highest = -1;
    for (const Platform::FoundFile& file : Platform::FindFiles(prefix + "*.dmo"))
    {
        const int number = file.isDirectory ? -1 : DemoNumberOf(file.name, stem);
        if (number < 0)
            continue;
        ++count;
        lowest = lowest < 0 ? number : std::min(lowest, number);
        highest = std::max(highest, number);
    }
    if (count == 0)
        return 0;
    if (count >= keepCount && deleteOldest)
        std::remove(Platform::ResolvePathCase(NumberedDemoName(prefix, lowest)).c_str());
    return highest;
}
} // namespace Quoll
