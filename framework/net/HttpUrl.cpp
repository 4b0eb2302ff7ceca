#include "framework/net/HttpUrl.h"

#include <cstdlib>

namespace Quoll
{
HttpUrl HttpUrl::Parse(const std::string& url)
{
    HttpUrl out;
    size_t hostStart = 0;
    if (size_t slashes = url.find("//"); slashes != std::string::npos)
    {
        out.protocol = url.substr(0, slashes == 0 ? 0 : slashes - 1); // "http:" loses its colon
        hostStart = slashes + 2;
    }
    size_t slash = url.find('/', hostStart);
    out.host = url.substr(hostStart, slash == std::string::npos ? std::string::npos : slash - hostStart);
    if (slash != std::string::npos)
        out.path = url.substr(slash);
    if (size_t colon = out.host.find(':'); colon != std::string::npos)
    {
        out.port = std::atoi(out.host.c_str() + colon + 1);
        out.portGiven = true;
        out.host.resize(colon);
    }
    return out;
}

std::string HttpUrl::HostHeader() const { return portGiven ? host + ":" + std::to_string(port) : host; }
} // namespace Quoll
