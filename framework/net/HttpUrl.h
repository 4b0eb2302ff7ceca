#pragma once
// An HTTP server address as the settings give it: "host", "host:port", optionally with
// "protocol://" in front and a path behind.
#include <string>

namespace Quoll
{
struct HttpUrl
{
    std::string protocol; // the text before "//" without its colon; empty when none
    std::string host;
    int port = 80;
    bool portGiven = false;
    std::string path = "/";

    static HttpUrl Parse(const std::string& url);
    // The value of the "Host:" header: the host, and the port when one was given.
    std::string HostHeader() const;
};
} // namespace Quoll
