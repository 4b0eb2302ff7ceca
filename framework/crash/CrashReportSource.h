#pragma once
// What the application adds to a crash report, asked by the crash catcher on the crashing
// thread after the report's core has been handed to the reporter process. These calls are
// not async-signal-safe: the catcher gives them a few seconds, and the reporter goes on
// without their answers when they do not come.
#include <map>
#include <string>

namespace Quoll
{
// The application's part of a report, as the reporter receives it.
struct CrashAppInfo
{
    std::string product;
    std::string version;
    std::string crashInfo; // appended to the report after a blank line
    std::map<std::string, std::string> fields; // extra upload fields
    std::string attachmentPath; // the file sent with the report
    std::string dataFolder; // where "crash.txt" goes when the current folder cannot take it
    bool attach = false;

    std::string Serialize() const;
    // False for bytes that are not a whole serialized part.
    bool Deserialize(const std::string& bytes);
};

class CrashReportSource
{
public:
    virtual ~CrashReportSource() = default;
    // The application's part; it may also silence and hide the application.
    virtual CrashAppInfo Gather() = 0;
};

} // namespace Quoll
