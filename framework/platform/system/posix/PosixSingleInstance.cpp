// Single instance over an abstract-namespace Unix stream socket "\0quoll-instance:<uid>:<name>":
// one per user, so that another user's copy starts on its own; the listener also ignores
// clients of other users. A notify is one line, "NOTIFY <wParam> <lParam> <message name>\n";
// the listener reads at most 512 bytes from each client and gives a silent client one second.
// Whether the name is taken is read from the kernel's table of Unix sockets (/proc/net/unix).
#include "framework/platform/system/PlatformLog.h"
#include "framework/platform/system/SingleInstance.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Quoll::Platform
{
namespace
{
constexpr size_t kMaxNotify = 512;

socklen_t MakeAddress(const std::string& name, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::string path = "quoll-instance:" + std::to_string(::geteuid()) + ":" + name;
    size_t length = std::min(path.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, path.data(), length); // sun_path[0] == 0: abstract
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

// The name as /proc/net/unix shows it: '@' for the leading zero byte (and any other zero byte).
std::string ShownAddress(const std::string& name)
{
    sockaddr_un address{};
    const socklen_t length = MakeAddress(name, address);
    std::string shown(address.sun_path, length - offsetof(sockaddr_un, sun_path));
    std::replace(shown.begin(), shown.end(), '\0', '@');
    return shown;
}

bool ParseNotify(std::string_view line, std::string& name, uintptr_t& wParam, intptr_t& lParam)
{
    if (line.substr(0, 7) != "NOTIFY ")
        return false;
    line.remove_prefix(7);
    const char* end = line.data() + line.size();
    auto first = std::from_chars(line.data(), end, wParam);
    if (first.ec != std::errc() || first.ptr == end || *first.ptr != ' ')
        return false;
    auto second = std::from_chars(first.ptr + 1, end, lParam);
    if (second.ec != std::errc() || second.ptr == end || *second.ptr != ' ')
        return false;
    name.assign(second.ptr + 1, end);
    return !name.empty();
}

bool SameUser(int client)
{
    ucred peer{};
    socklen_t length = sizeof(peer);
    return ::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
}

std::string ReadLine(int client)
{
    std::string text;
    char buffer[kMaxNotify];
    while (text.size() < kMaxNotify)
    {
        pollfd wait{client, POLLIN, 0};
        if (::poll(&wait, 1, 1000) <= 0)
            break;
        ssize_t n = ::recv(client, buffer, kMaxNotify - text.size(), 0);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
        if (text.find('\n') != std::string::npos)
            break;
    }
    size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(0, newline);
}
} // namespace

SingleInstance::SingleInstance(std::string name) : mName(std::move(name))
{
    mSocket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (mSocket < 0)
    {
        LogLine("SingleInstance", std::string("socket: ") + std::strerror(errno));
        return;
    }
    sockaddr_un address{};
    socklen_t length = MakeAddress(mName, address);
    if (::bind(mSocket, reinterpret_cast<sockaddr*>(&address), length) != 0)
    {
        mState = errno == EADDRINUSE ? InstanceState::TakenByOther : InstanceState::Failed;
        if (mState == InstanceState::Failed)
            LogLine("SingleInstance", std::string("bind: ") + std::strerror(errno));
        ::close(mSocket);
        mSocket = -1;
        return;
    }
    if (::listen(mSocket, 8) != 0 || ::pipe2(mStopPipe, O_CLOEXEC) != 0)
    {
        LogLine("SingleInstance", std::string("listen: ") + std::strerror(errno));
        mState = InstanceState::Owner; // the name is held even if nobody can notify us
        return;
    }
    mState = InstanceState::Owner;
    mListener = std::thread([this] { Listen(); });
}

SingleInstance::~SingleInstance()
{
    if (mListener.joinable())
    {
        char stop = 1;
        [[maybe_unused]] ssize_t written = ::write(mStopPipe[1], &stop, 1);
        mListener.join();
    }
    for (int fd : {mSocket, mStopPipe[0], mStopPipe[1]})
        if (fd >= 0)
            ::close(fd);
}

void SingleInstance::Listen()
{
    for (;;)
    {
        pollfd waits[2] = {{mSocket, POLLIN, 0}, {mStopPipe[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0)
        {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waits[1].revents != 0)
            return;
        int client = ::accept4(mSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        std::string line = SameUser(client) ? ReadLine(client) : std::string();
        ::close(client);
        Notify notify{};
        if (ParseNotify(line, notify.messageName, notify.wParam, notify.lParam))
            Deliver(std::move(notify));
        else
            LogLine("SingleInstance", "ignored a malformed notify");
    }
}

void SingleInstance::Deliver(Notify notify)
{
    std::lock_guard lock(mMutex);
    if (mHandler)
        mHandler(notify.messageName, notify.wParam, notify.lParam);
    else
        mPending.push_back(std::move(notify));
}

void SingleInstance::SetNotifyHandler(NotifyHandler handler)
{
    std::lock_guard lock(mMutex);
    mHandler = std::move(handler);
    if (!mHandler)
        return;
    for (const Notify& notify : mPending)
        mHandler(notify.messageName, notify.wParam, notify.lParam);
    mPending.clear();
}

bool SingleInstance::NotifyOwner(std::string_view messageName, uintptr_t wParam, intptr_t lParam) const
{
    if (messageName.empty() || messageName.find('\n') != std::string_view::npos)
        return false;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    socklen_t length = MakeAddress(mName, address);
    std::string line = "NOTIFY " + std::to_string(wParam) + " " + std::to_string(lParam) + " " +
                       std::string(messageName) + "\n";
    bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
    ::close(fd);
    return sent;
}

bool SingleInstance::IsTaken(const std::string& name)
{
    std::ifstream table("/proc/net/unix");
    const std::string shown = ShownAddress(name);
    std::string line;
    std::getline(table, line); // the heading
    while (std::getline(table, line))
    {
        // "Num: RefCount Protocol Flags Type St Inode Path"; the holder's socket is a stream
        // socket that is bound and not connected (listening, or left unable to listen).
        unsigned type = 0;
        unsigned state = 0;
        int end = 0;
        if (std::sscanf(line.c_str(), "%*s %*x %*x %*x %x %x %*u%n", &type, &state, &end) != 2)
            continue;
        if (type == SOCK_STREAM && state == 1 &&
            line.compare(static_cast<size_t>(end), std::string::npos, " " + shown) == 0)
            return true;
    }
    return false;
}
} // namespace Quoll::Platform
