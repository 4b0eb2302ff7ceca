// HTTP transfer over POSIX sockets. The socket is non-blocking; every wait is a poll of at
// most 100 ms, so an abort or a timeout is seen within that time. Sends never raise SIGPIPE.
#include "framework/net/HttpTransfer.h"

#include "framework/core/Common.h"
#include "framework/net/HttpUrl.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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
constexpr size_t kMaxChunkLine = 1024; // a chunk's size line with its extensions

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

// The parse state of one response. Line ends are searched for only in bytes not searched
// before, so a long header line costs linear time.
struct HTTPTransfer::Receiver
{
    std::string received;
    size_t pos = 0;
    size_t lineScan = 0; // where the search for the next line end resumes
    size_t headerBytes = 0;
    bool statusSeen = false;
    bool headersDone = false;
    bool chunked = false;
    bool hasLength = false;
    bool complete = false; // the framing says the body is whole
    bool chunkEndPending = false; // the line end after a chunk's data is still to skip
    int64_t chunkRemaining = 0;
    int64_t contentRemaining = 0;

    void Compact()
    {
        if (pos < 65536)
            return;
        received.erase(0, pos);
        lineScan -= std::min(lineScan, pos);
        pos = 0;
    }
    bool TakeLine(std::string& line)
    {
        size_t end = received.find("\r\n", std::max(pos, lineScan));
        if (end == std::string::npos)
        {
            // A '\r' at the very end may still meet its '\n'.
            lineScan = std::max(pos, received.empty() ? 0 : received.size() - 1);
            return false;
        }
        line = received.substr(pos, end - pos);
        pos = end + 2;
        lineScan = pos;
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
    mStartTime = mProgressTime = std::chrono::steady_clock::now();
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
        mProgressTime = std::chrono::steady_clock::now();
    }
    mRequest.clear();
}

// Reads the response: status line and headers, then the body in whichever framing the
// headers chose. A connection closed or broken before the framing's end is a bad response.
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
            if (n < 0)
            {
                Fail(HttpResult::BadResponse); // reset: whatever came may be cut short
                break;
            }
            if (n == 0)
            {
                EndOfResponse(in);
                break;
            }
            mProgressTime = std::chrono::steady_clock::now();
            in.Compact();
            in.received.append(bytes, static_cast<size_t>(n));
        }
        step = ParseStep(in);
        if (step == ParseStepResult::End)
            break;
    }
}

// The server closed the connection: only a body without a length may end this way.
void HTTPTransfer::EndOfResponse(const Receiver& in)
{
    if (!in.headersDone || ((in.chunked || in.hasLength) && !in.complete))
        Fail(HttpResult::BadResponse);
}

HTTPTransfer::ParseStepResult HTTPTransfer::ParseStep(Receiver& in)
{
    using Step = ParseStepResult;
    if (!in.headersDone)
        return ParseHeaderLine(in);
    if (in.chunked)
        return ParseChunked(in);
    // A length-delimited body.
    if (in.hasLength)
    {
        size_t n = std::min<size_t>(static_cast<size_t>(in.contentRemaining), in.Available());
        if (!AppendContent(in.received, in.pos, n))
            return Step::End;
        in.pos += n;
        in.contentRemaining -= static_cast<int64_t>(n);
        in.complete = in.contentRemaining == 0;
        return in.complete ? Step::End : Step::NeedMore;
    }
    // Without a length the body ends when the server closes the connection.
    if (!AppendContent(in.received, in.pos, in.Available()))
        return Step::End;
    in.pos = in.received.size();
    return Step::NeedMore;
}

// The status line, then one header line per call, until the empty line.
HTTPTransfer::ParseStepResult HTTPTransfer::ParseHeaderLine(Receiver& in)
{
    using Step = ParseStepResult;
    std::string line, value;
    const bool whole = in.TakeLine(line);
    const size_t size = whole ? line.size() + 2 : in.Available();
    if (in.headerBytes + size > mLimits.maxHeaderBytes)
    {
        Fail(HttpResult::TooLarge);
        return Step::End;
    }
    if (!whole)
        return Step::NeedMore;
    in.headerBytes += size;
    if (!in.statusSeen)
    {
        // "HTTP/1.x nnn reason"
        in.statusSeen = true;
        const bool status = line.size() >= 12 && line.compare(0, 7, "HTTP/1.") == 0 && line[8] == ' ' &&
                            std::isdigit(uint8_t(line[9])) && std::isdigit(uint8_t(line[10])) &&
                            std::isdigit(uint8_t(line[11]));
        const std::string code = status ? line.substr(9, 3) : std::string();
        if (!status)
            Fail(HttpResult::BadResponse);
        else if (code == "404")
            Fail(HttpResult::NotFound);
        else if (code != "200")
            Fail(HttpResult::HttpError);
        return mExiting ? Step::End : Step::Progress;
    }
    if (HeaderValue(line, "Transfer-Encoding:", value))
        in.chunked = in.chunked || strcasecmp(value.c_str(), "identity") != 0;
    else if (HeaderValue(line, "Content-Length:", value))
    {
        char* end = nullptr;
        errno = 0;
        const unsigned long long length = std::strtoull(value.c_str(), &end, 10);
        if (value.empty() || !std::isdigit(uint8_t(value[0])) || *end != '\0' || errno != 0)
        {
            Fail(HttpResult::BadResponse);
            return Step::End;
        }
        if (length > mLimits.maxBodyBytes)
        {
            Fail(HttpResult::TooLarge);
            return Step::End;
        }
        // A length of 0 means none: the body runs to the connection's end.
        mContentLength = int32_t(length);
        in.contentRemaining = int64_t(length);
        in.hasLength = length > 0;
    }
    else if (line.empty())
        in.headersDone = true;
    return Step::Progress;
}

// Size lines in hexadecimal (extensions after ';' ignored), data, a line end; size 0 ends it.
HTTPTransfer::ParseStepResult HTTPTransfer::ParseChunked(Receiver& in)
{
    using Step = ParseStepResult;
    if (in.chunkEndPending)
    {
        if (in.Available() < 2)
            return Step::NeedMore;
        if (in.received.compare(in.pos, 2, "\r\n") != 0)
        {
            Fail(HttpResult::BadResponse);
            return Step::End;
        }
        in.pos += 2;
        in.lineScan = in.pos;
        in.chunkEndPending = false;
    }
    if (in.chunkRemaining == 0)
    {
        std::string line;
        if (!in.TakeLine(line))
        {
            if (in.Available() > kMaxChunkLine)
            {
                Fail(HttpResult::BadResponse);
                return Step::End;
            }
            return Step::NeedMore;
        }
        const std::string digits = Trim(line.substr(0, line.find(';')));
        char* end = nullptr;
        errno = 0;
        const unsigned long long size = std::strtoull(digits.c_str(), &end, 16);
        if (digits.empty() || !std::isxdigit(uint8_t(digits[0])) || *end != '\0' || errno != 0)
        {
            Fail(HttpResult::BadResponse);
            return Step::End;
        }
        if (size == 0)
        {
            in.complete = true;
            return Step::End;
        }
        if (size > mLimits.maxBodyBytes - std::min(mLimits.maxBodyBytes, mContent.size()))
        {
            Fail(HttpResult::TooLarge);
            return Step::End;
        }
        in.chunkRemaining = int64_t(size);
    }
    size_t n = std::min<size_t>(static_cast<size_t>(in.chunkRemaining), in.Available());
    if (n == 0)
        return Step::NeedMore;
    mContent.append(in.received, in.pos, n);
    in.pos += n;
    in.lineScan = in.pos;
    in.chunkRemaining -= static_cast<int64_t>(n);
    in.chunkEndPending = in.chunkRemaining == 0;
    return Step::Progress;
}

// Appends body bytes unless they would pass the body limit.
bool HTTPTransfer::AppendContent(const std::string& bytes, size_t from, size_t count)
{
    if (mContent.size() + count > mLimits.maxBodyBytes)
    {
        Fail(HttpResult::TooLarge);
        return false;
    }
    mContent.append(bytes, from, count);
    return true;
}

// Waits until the socket can be read (or written); true at once when exiting. Errors and
// hang-ups count as ready: the call that follows reports them.
bool HTTPTransfer::WaitForSocket(bool read, bool write)
{
    while (!mExiting)
    {
        if (TimedOut())
        {
            Fail(HttpResult::TimedOut);
            return false;
        }
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

// Past the whole transfer's time, or past the longest wait since the last progress.
bool HTTPTransfer::TimedOut()
{
    const auto now = std::chrono::steady_clock::now();
    return now - mStartTime > std::chrono::milliseconds(mLimits.overallMilliseconds) ||
           now - mProgressTime > std::chrono::milliseconds(mLimits.idleMilliseconds);
}
} // namespace Quoll
