// The loopback test server of the HTTP transfer tests (see LoopbackHttpServer.h).
#include "tests/app/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <strings.h>

namespace QuollTest
{
namespace
{
int BindLoopback(int& port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        throw std::runtime_error("cannot bind a loopback socket");
    socklen_t length = sizeof(address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// The Content-Length of the request headers, or 0.
size_t RequestBodyLength(const std::string& headers)
{
    size_t at = 0;
    while ((at = headers.find("\r\n", at)) != std::string::npos)
    {
        at += 2;
        if (strncasecmp(headers.c_str() + at, "Content-Length:", 15) == 0)
            return std::strtoul(headers.c_str() + at + 15, nullptr, 10);
    }
    return 0;
}
} // namespace

LoopbackHttpServer::LoopbackHttpServer(Behaviour behaviour, std::string response)
    : mBehaviour(behaviour), mResponse(std::move(response))
{
    mListener = BindLoopback(mPort);
    ::listen(mListener, 4);
    mThread = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    mStop = true;
    mThread.join();
    ::close(mListener);
}

std::string LoopbackHttpServer::HostAndPort() const { return "127.0.0.1:" + std::to_string(mPort); }

std::string LoopbackHttpServer::Request()
{
    std::lock_guard lock(mMutex);
    return mRequest;
}

bool LoopbackHttpServer::WaitReadable(int fd)
{
    while (!mStop)
    {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 20) > 0)
            return true;
    }
    return false;
}

void LoopbackHttpServer::ReadRequest(int fd)
{
    size_t limit = mBehaviour == Behaviour::ResetEarly ? 1024 : std::string::npos;
    std::string received;
    size_t wanted = std::string::npos;
    while (received.size() < std::min(wanted, limit) && WaitReadable(fd))
    {
        char bytes[65536];
        ssize_t n = ::recv(fd, bytes, sizeof(bytes), 0);
        if (n <= 0)
            break;
        received.append(bytes, static_cast<size_t>(n));
        size_t end = received.find("\r\n\r\n");
        if (wanted == std::string::npos && end != std::string::npos)
            wanted = end + 4 + RequestBodyLength(received.substr(0, end + 2));
    }
    std::lock_guard lock(mMutex);
    mRequest = std::move(received);
}

void LoopbackHttpServer::Serve()
{
    if (!WaitReadable(mListener))
        return;
    int client = ::accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0)
        return;
    ReadRequest(client);
    if (mBehaviour == Behaviour::Respond)
    {
        size_t sent = 0;
        while (sent < mResponse.size())
        {
            ssize_t n = ::send(client, mResponse.data() + sent, mResponse.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
    }
    else if (mBehaviour == Behaviour::Trickle)
    {
        for (size_t sent = 0; sent < mResponse.size() && !mStop; ++sent)
        {
            if (::send(client, mResponse.data() + sent, 1, MSG_NOSIGNAL) != 1)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    else if (mBehaviour == Behaviour::Silent)
        WaitReadable(client); // until the client goes or the test ends
    else
    {
        linger reset{1, 0}; // close with a reset, not an orderly shutdown
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
    }
    ::close(client);
}

int UnusedLoopbackPort()
{
    int port = 0;
    int fd = BindLoopback(port);
    ::close(fd);
    return port;
}
} // namespace QuollTest
