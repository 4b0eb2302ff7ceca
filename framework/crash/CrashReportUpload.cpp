// Builds the crash-report upload request; the bytes are binary-safe (the demo file may hold
// any byte, zero included).
#include "framework/crash/CrashReportUpload.h"

#include "framework/net/HttpUrl.h"

namespace Quoll
{
namespace
{
void AppendField(std::string& body, const std::string& name, const std::string& value)
{
    body += "--";
    body += CrashReportUpload::kBoundary;
    body += "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
    body += value;
    body += "\r\n";
}
} // namespace

std::string CrashReportUpload::BuildBody(const CrashReportForm& form)
{
    std::string body;
    for (const auto& [name, value] : form.applicationFields)
        AppendField(body, name, value);
    AppendField(body, "prod", form.product);
    AppendField(body, "version", form.version);
    AppendField(body, "usertext", form.userText);
    AppendField(body, "errortitle", form.errorTitle);
    AppendField(body, "errortext", form.errorText);
    if (form.demoFile)
    {
        body += "--";
        body += kBoundary;
        body += "\r\nContent-Disposition: form-data; name=\"demofile\"; filename=\"brightmoor.dmo\"\r\n"
                "Content-Type: application/octet-stream\r\n\r\n";
        body += *form.demoFile;
        body += "\r\n";
    }
    body += "--";
    body += kBoundary;
    body += "--\r\n";
    return body;
}

std::string CrashReportUpload::BuildRequest(const CrashReportForm& form, const std::string& submitHost)
{
    std::string body = BuildBody(form);
    std::string request = "POST /gilded_error.php HTTP/1.1\r\nContent-Type: multipart/form-data; boundary=";
    request += kBoundary;
    request += "\r\nUser-Agent: Mozilla/4.0 (compatible; brightmoor)\r\n";
    request += "Host: " + HttpUrl::Parse(submitHost).HostHeader() + "\r\n";
    request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    request += "Connection: close\r\n\r\n";
    return request + body;
}
} // namespace Quoll
