#pragma once
// A small HTTP/1.1 client: one request at a time, sent over a plain TCP socket by a worker
// thread of its own, with a numeric result that the caller polls. Bodies may be
// length-delimited, chunked or ended by the server closing the connection. Every change of
// result passes through the demo hook (HttpDemoHook), so that a recorded session replays the
// same network outcomes without touching the network.
//
// Threads: the worker writes the content and the result; the caller reads the content only
// once GetResultCode says the transfer is final. Flags shared with the worker are atomics.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace Quoll
{
enum class HttpResult : int32_t
{
    Done = 0,
    NotStarted = 1,
    InProgress = 2,
    NotFound = 3, // status 404
    HttpError = 4, // any status other than 200 and 404
    Aborted = 5,
    SocketError = 6,
    AddressNotResolved = 7,
    ConnectionFailed = 8,
    SendFailed = 9,
    BadResponse = 10, // the response ended early or could not be parsed
    TooLarge = 11, // the headers or the body passed their limit
    TimedOut = 12, // the transfer or a wait for the server took too long
};

// What one transfer may take: header bytes (status line and headers with their line ends),
// body bytes, the whole transfer's time and the longest wait without progress.
struct HttpLimits
{
    size_t maxHeaderBytes = 64 * 1024;
    size_t maxBodyBytes = 16 * 1024 * 1024;
    int overallMilliseconds = 120'000;
    int idleMilliseconds = 30'000;
};

// Where transfer outcomes meet the demo stream. The demo recorder installs one: while a demo
// records, each change of a transfer's result is written; while one plays back, no socket is
// opened and the outcome is read from the stream instead.
class HttpDemoHook
{
public:
    virtual ~HttpDemoHook() = default;
    virtual bool IsPlayingBack() = 0;
    virtual bool IsRecording() = 0;
    // Playback: when the record due now is the result of this transfer, takes it and gives
    // its result and content; otherwise leaves the stream as it was and returns false.
    virtual bool TakeRecordedResult(int32_t transferId, HttpResult& result, std::string& content) = 0;
    // Recording: writes the record of a changed result (the content is empty while in progress).
    virtual void RecordResult(int32_t transferId, HttpResult result, const std::string& content) = 0;
};

// Installs the hook (null: none, the default); returns the previous one.
HttpDemoHook* SetHttpDemoHook(HttpDemoHook* hook);

// The IPv4 address (network byte order) of a host name; nothing when it has none.
using HostResolver = std::function<std::optional<uint32_t>(const std::string& host)>;

class HTTPTransfer
{
public:
    HTTPTransfer();
    HTTPTransfer(const HTTPTransfer&) = delete;
    HTTPTransfer& operator=(const HTTPTransfer&) = delete;
    virtual ~HTTPTransfer();

    // Sends the complete request text to the server named by `url` ("host", "host:port",
    // optionally with "protocol://" in front and a path behind; the request carries its own
    // request line).
    void SendRequest(const std::string& request, const std::string& url);
    void Abort();
    // Waits for a running worker, then returns to NotStarted with a new transfer id.
    void Reset();
    HttpResult GetResultCode();
    // Waits while the transfer runs.
    void WaitFinished();
    // The response body; read it once the result is final.
    const std::string& GetContent() const { return mContent; }
    int32_t GetTransferId() const { return mTransferId; }

    // Parts of the URL of the last transfer.
    const std::string& GetHost() const { return mHost; }
    int GetPort() const { return mPort; }
    const std::string& GetPath() const { return mPath; }

    // The limits of the transfers that start after this call.
    void SetLimits(const HttpLimits& limits) { mLimits = limits; }
    const HttpLimits& GetLimits() const { return mLimits; }

    // Name resolution for host names that are not dotted addresses (tests use a fake one);
    // an empty resolver restores the system's.
    static void SetResolver(HostResolver resolver);

private:
    struct Receiver;
    enum class ParseStepResult
    {
        Progress, // consumed something; parse again
        NeedMore, // receive more bytes first
        End, // the body is complete (or cannot be read further)
    };

    void PrepareTransfer(const std::string& url);
    void SplitUrl(const std::string& url);
    void StartTransfer();
    void UpdateStatus();
    void Transfer();
    bool Connect();
    void SendAll();
    void Receive();
    ParseStepResult ParseStep(Receiver& in);
    ParseStepResult ParseHeaderLine(Receiver& in);
    ParseStepResult ParseChunked(Receiver& in);
    bool AppendContent(const std::string& bytes, size_t from, size_t count);
    void EndOfResponse(const Receiver& in);
    bool WaitForSocket(bool read, bool write);
    bool TimedOut();
    void Fail(HttpResult code);
    void JoinWorker();

    int32_t mTransferId = 0;
    int mSocket = -1;
    std::string mRequest;
    std::string mUrl;
    std::string mProtocol;
    std::string mHost;
    int mPort = 80;
    std::string mPath;
    int32_t mContentLength = 0;
    std::string mContent;
    std::atomic<bool> mTransferring{false};
    std::atomic<bool> mExiting{false};
    std::atomic<bool> mAborted{false};
    std::atomic<HttpResult> mResult{HttpResult::NotStarted};
    HttpResult mLastRecordedResult = HttpResult::NotStarted;
    HttpResult mFailure = HttpResult::InProgress; // the worker's first failure
    HttpLimits mLimits;
    std::chrono::steady_clock::time_point mStartTime;    // the worker's start
    std::chrono::steady_clock::time_point mProgressTime; // the last byte sent or received
    std::thread mWorker;
};
} // namespace Quoll
