// HTTP transfer over POSIX sockets. The socket is non-blocking; every wait is a poll of at
// most 100 ms, so an abort is seen within that time. Sends never raise SIGPIPE.
#include "framework/net/HttpTransfer.h"

#include "framework/core/Common.h"
#include "framework/net/HttpUrl.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <strings.h>

namespace Quoll
{
namespace
{
constexpr int kPollMilliseconds = 100;
constexpr size_t kReceiveChunk = 4096;

std::atomic<int32_t> gNextTransferId{1};
std::atomic<HttpDemoHook*> gDemoHook{nullptr};
std::mutex gResolverMutex;
HostResolver gResolver;

int32_t TakeTransferId() { return gNextTransferId.fetch_add(1); }

std::optional<uint32_t> SystemResolve(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || list == nullptr)
        return std::nullopt;
    uint32_t address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(list);
    return address;
}

std::optional<uint32_t> Resolve(const std::string& host)
{
    in_addr numeric{};
    if (inet_pton(AF_INET, host.c_str(), &numeric) == 1)
        return numeric.s_addr;
    HostResolver resolver;
    {
        std::lock_guard lock(gResolverMutex);
        resolver = gResolver;
    }
    std::optional<uint32_t> address = resolver ? resolver(host) : SystemResolve(host);
    if (address && *address == INADDR_NONE)
        return std::nullopt;
    return address;
}

// Whether the line starts with the header name (compared without regard to case); the
// value after it, trimmed, goes to `value`.
bool HeaderValue(const std::string& line, const char* name, std::string& value)
{
    size_t length = std::char_traits<char>::length(name);
    if (line.size() < length || strncasecmp(line.c_str(), name, length) != 0)
        return false;
    value = Trim(line.substr(length));
    return true;
}
} // namespace

HttpDemoHook* SetHttpDemoHook(HttpDemoHook* hook) { return gDemoHook.exchange(hook); }

void HTTPTransfer::SetResolver(HostResolver resolver)
{
    std::lock_guard lock(gResolverMutex);
    gResolver = std::move(resolver);
}

// The parse state of one response.
struct HTTPTransfer::Receiver
{
    std::string received;
    size_t pos = 0;
    bool headersDone = false;
    bool chunked = false;
    bool chunkEndPending = false; // the line end after a chunk's data is still to skip
    int64_t chunkRemaining = 0;
    int64_t contentRemaining = 0;

    void Compact()
    {
        if (pos < 65536)
            return;
        received.erase(0, pos);
        pos = 0;
    }
    bool TakeLine(std::string& line)
    {
        size_t end = received.find("\r\n", pos);
        if (end == std::string::npos)
            return false;
        line = received.substr(pos, end - pos);
        pos = end + 2;
        return true;
    }
    size_t Available() const { return received.size() - pos; }
};

HTTPTransfer::HTTPTransfer() : mTransferId(TakeTransferId()) {}

HTTPTransfer::~HTTPTransfer()
{
    Abort();
    JoinWorker();
}

void HTTPTransfer::SendRequest(const std::string& request, const std::string& url)
{
    PrepareTransfer(url);
    mRequest = request;
    StartTransfer();
}

void HTTPTransfer::PrepareTransfer(const std::string& url)
{
    Reset();
    mTransferId = TakeTransferId();
    mExiting = false;
    mAborted = false;
    mResult = HttpResult::InProgress;
    mContent.clear();
    mContentLength = 0;
    mPort = 80;
    SplitUrl(url);
}

void HTTPTransfer::SplitUrl(const std::string& url)
{
    HttpUrl parts = HttpUrl::Parse(url);
    mUrl = url;
    mProtocol = parts.protocol;
    mHost = parts.host;
    mPort = parts.port;
    mPath = parts.path;
}

void HTTPTransfer::StartTransfer()
{
    mTransferring = true;
    HttpDemoHook* hook = gDemoHook.load();
    if (hook != nullptr && hook->IsPlayingBack())
        return; // the outcome comes from the demo stream
    mWorker = std::thread([this] { Transfer(); });
}

void HTTPTransfer::Abort()
{
    mAborted = true;
    mExiting = true;
}

void HTTPTransfer::JoinWorker()
{
    if (mWorker.joinable())
        mWorker.join();
}

void HTTPTransfer::Reset()
{
    if (mWorker.joinable())
    {
        Abort();
        WaitFinished();
        JoinWorker();
    }
    mTransferring = false;
    mTransferId = TakeTransferId();
    mResult = HttpResult::NotStarted;
    mLastRecordedResult = HttpResult::NotStarted;
    mContent.clear();
    mExiting = false;
    mAborted = false;
    mUrl.clear();
    mRequest.clear();
    mPath.clear();
}

HttpResult HTTPTransfer::GetResultCode()
{
    UpdateStatus();
    return mResult.load();
}

void HTTPTransfer::WaitFinished()
{
    while (mTransferring)
    {
        UpdateStatus();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void HTTPTransfer::UpdateStatus()
{
    HttpDemoHook* hook = gDemoHook.load();
    if (hook == nullptr)
        return;
    if (hook->IsPlayingBack())
    {
        HttpResult result = HttpResult::InProgress;
        std::string content;
        if (!hook->TakeRecordedResult(mTransferId, result, content))
            return;
        mContent = std::move(content);
        mResult = result;
        mLastRecordedResult = result;
        if (result != HttpResult::InProgress)
            mTransferring = false;
        return;
    }
    HttpResult result = mResult.load();
    if (hook->IsRecording() && result != mLastRecordedResult)
    {
        // A result other than InProgress is published only after the worker's last write.
        hook->RecordResult(mTransferId, result, result == HttpResult::InProgress ? std::string() : mContent);
        mLastRecordedResult = result;
    }
}

void HTTPTransfer::Fail(HttpResult code)
{
    // Published when the worker ends, so the content is never read while still written.
    if (mFailure == HttpResult::InProgress)
        mFailure = code;
    mExiting = true;
}

// The worker: connect, send the request, read the response; then publish the result.
void HTTPTransfer::Transfer()
{
    mFailure = HttpResult::InProgress;
    mSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (mSocket < 0)
        Fail(HttpResult::SocketError);
    if (!mExiting && Connect())
    {
        SendAll();
        Receive();
    }
    if (mSocket >= 0)
        ::close(mSocket);
    mSocket = -1;
    HttpResult result = mAborted ? HttpResult::Aborted
                        : mFailure != HttpResult::InProgress ? mFailure
                                                              : HttpResult::Done;
    mResult = result;
    mTransferring = false;
}

bool HTTPTransfer::Connect()
{
    std::optional<uint32_t> address = Resolve(mHost);
    if (!address)
    {
        Fail(HttpResult::AddressNotResolved);
        return false;
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<uint16_t>(mPort));
    target.sin_addr.s_addr = *address;
    if (::connect(mSocket, reinterpret_cast<const sockaddr*>(&target), sizeof(target)) == 0)
        return true;
    if (errno != EINPROGRESS)
    {
        Fail(HttpResult::ConnectionFailed);
        return false;
    }
    // The connection is made (or refused) once the socket turns writable.
    if (!WaitForSocket(false, true))
    {
        Fail(HttpResult::ConnectionFailed);
        return false;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    if (!mExiting && (::getsockopt(mSocket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0))
    {
        Fail(HttpResult::ConnectionFailed);
        return false;
    }
    return !mExiting;
}

void HTTPTransfer::SendAll()
{
    size_t sent = 0;
    while (sent < mRequest.size() && !mExiting)
    {
        if (!WaitForSocket(false, true) || mExiting)
            break;
        ssize_t n = ::send(mSocket, mRequest.data() + sent, mRequest.size() - sent, MSG_NOSIGNAL);
        if (n < 1)
        {
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                continue;
            Fail(HttpResult::SendFailed);
            break;
        }
        sent += static_cast<size_t>(n);
    }
    mRequest.clear();
}

// Reads the response: status line and headers, then the body in whichever framing the
// headers chose. A connection closed or broken while reading ends the loop.
void HTTPTransfer::Receive()
{
    Receiver in;
    ParseStepResult step = ParseStepResult::NeedMore;
    while (!mExiting)
    {
        if (step == ParseStepResult::NeedMore)
        {
            if (!WaitForSocket(true, false) || mExiting)
                break;
            char bytes[kReceiveChunk];
            ssize_t n = ::recv(mSocket, bytes, sizeof(bytes), 0);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                continue;
            if (n < 1)
                break;
            in.Compact();
            in.received.append(bytes, static_cast<size_t>(n));
        }
        step = ParseStep(in);
        if (step == ParseStepResult::End)
            break;
    }
}

HTTPTransfer::ParseStepResult HTTPTransfer::ParseStep(Receiver& in)
{
    using Step = ParseStepResult;
    // 1. Status line and headers.
    if (!in.headersDone)
    {
        std::string line, value;
        if (!in.TakeLine(line))
            return Step::NeedMore;
        if (line.compare(0, 7, "HTTP/1.") == 0)
        {
            std::string code = line.size() >= 12 ? line.substr(9, 3) : std::string();
            if (code == "404")
                Fail(HttpResult::NotFound);
            else if (code != "200")
                Fail(HttpResult::HttpError);
        }
        else if (HeaderValue(line, "Transfer-Encoding:", value))
            in.chunked = in.chunked || strcasecmp(value.c_str(), "identity") != 0;
        else if (HeaderValue(line, "Content-Length:", value))
        {
            mContentLength = std::max(0, std::atoi(value.c_str()));
            in.contentRemaining = mContentLength;
        }
        else if (line.empty())
            in.headersDone = true;
        return Step::Progress;
    }
    // 2. Chunked body: size lines in hexadecimal, data, a line end; size 0 ends it.
    if (in.chunked)
    {
        if (in.chunkEndPending)
        {
            if (in.Available() < 2)
                return Step::NeedMore;
            in.pos += 2;
            in.chunkEndPending = false;
        }
        if (in.chunkRemaining == 0)
        {
            std::string line;
            if (!in.TakeLine(line))
                return Step::NeedMore;
            int size = 0;
            if (!StringToInt("0x" + Trim(line), size) || size <= 0)
                return Step::End;
            in.chunkRemaining = size;
        }
        size_t n = std::min<size_t>(static_cast<size_t>(in.chunkRemaining), in.Available());
        if (n == 0)
            return Step::NeedMore;
        mContent.append(in.received, in.pos, n);
        in.pos += n;
        in.chunkRemaining -= static_cast<int64_t>(n);
        in.chunkEndPending = in.chunkRemaining == 0;
        return Step::Progress;
    }
    // 3. Length-delimited body.
    if (mContentLength > 0)
    {
        size_t n = std::min<size_t>(static_cast<size_t>(in.contentRemaining), in.Available());
        mContent.append(in.received, in.pos, n);
        in.pos += n;
        in.contentRemaining -= static_cast<int64_t>(n);
        return in.contentRemaining == 0 ? Step::End : Step::NeedMore;
    }
    // 4. Without a length the body ends when the server closes the connection.
    mContent.append(in.received, in.pos, std::string::npos);
    in.pos = in.received.size();
    return Step::NeedMore;
}

// Waits until the socket can be read (or written); true at once when exiting. Errors and
// hang-ups count as ready: the call that follows reports them.
bool HTTPTransfer::WaitForSocket(bool read, bool write)
{
    while (!mExiting)
    {
        pollfd entry{mSocket, static_cast<short>((read ? POLLIN : 0) | (write ? POLLOUT : 0)), 0};
        int ready = ::poll(&entry, 1, kPollMilliseconds);
        if (ready < 0 && errno != EINTR)
        {
            Fail(HttpResult::SocketError);
            return false;
        }
        if (ready <= 0)
            continue;
        if ((entry.revents & POLLNVAL) != 0)
        {
            Fail(HttpResult::SocketError);
            return false;
        }
        return true;
    }
    return true;
}
} // namespace Quoll
