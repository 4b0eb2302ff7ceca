#pragma once
// The crash-report upload: a multipart/form-data POST of the report's fields, with the demo
// recording of the crashed run attached when there is one.
#include <map>
#include <optional>
#include <string>

namespace Quoll
{
struct CrashReportForm
{
    std::map<std::string, std::string> applicationFields; // the application's own, by name
    std::string product;
    std::string version;
    std::string userText;
    std::string errorTitle;
    std::string errorText; // the whole crash report
    std::optional<std::string> demoFile; // the attachment's bytes, when attached
};

class CrashReportUpload
{
public:
    static constexpr const char* kBoundary = "---------------------------7d3e1f30eec";

    // The complete request for the report server `submitHost` (an HttpUrl); its "Host:"
    // header names the host, and the port when one is given.
    static std::string BuildRequest(const CrashReportForm& form, const std::string& submitHost);
    static std::string BuildBody(const CrashReportForm& form);
};
} // namespace Quoll
