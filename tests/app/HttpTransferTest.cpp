// HTTP transfer against an in-process server on 127.0.0.1: one case per result code, the
// three body framings, the crash-report request byte for byte, and the demo hook. No test
// sends anything beyond the loopback interface or resolves a real host name.
// Rerun one case: test_app --gtest_filter='HttpTransfer.*Chunked*'
#include "framework/crash/CrashReportUpload.h"
#include "framework/net/HttpTransfer.h"
#include "tests/app/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <chrono>
#include <thread>
#include <vector>

using Quoll::HttpResult;
using Quoll::HTTPTransfer;
using QuollTest::LoopbackHttpServer;

namespace
{
// Polls until the transfer is final (the bound only keeps a broken build from hanging).
HttpResult WaitForResult(HTTPTransfer& transfer)
{
    for (int i = 0; i < 3000; ++i)
    {
        HttpResult result = transfer.GetResultCode();
        if (result != HttpResult::InProgress)
            return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return HttpResult::InProgress;
}

struct Outcome
{
    HttpResult result;
    std::string content;
    std::string request;
};

Outcome Exchange(const std::string& response, const std::string& request = "GET / HTTP/1.1\r\n\r\n")
{
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Respond, response);
    HTTPTransfer transfer;
    transfer.SendRequest(request, server.HostAndPort());
    HttpResult result = WaitForResult(transfer);
    return {result, transfer.GetContent(), server.Request()};
}

// Resolves exactly one made-up name to the loopback address, nothing else.
class FakeResolver
{
public:
    FakeResolver()
    {
        HTTPTransfer::SetResolver([](const std::string& host) -> std::optional<uint32_t> {
            if (host == "reports.invalid")
                return htonl(INADDR_LOOPBACK);
            return std::nullopt;
        });
    }
    ~FakeResolver() { HTTPTransfer::SetResolver({}); }
};

Quoll::CrashReportForm SampleForm()
{
    Quoll::CrashReportForm form;
    form.applicationFields = {{"zeta", "last"}, {"alpha", "first"}};
    form.product = "PetriGlowSaga";
    form.version = "1.0.0";
    form.userText = "It crashed when I clicked.";
    form.errorTitle = "Exception at 0001:00000010";
    form.errorText = "Exception: Access Violation (code 0xc0000005) at address 00001234 in thread 1F\r\n";
    form.demoFile = std::string("DEMO\0\xff\r\n--x", 11);
    return form;
}
} // namespace

// --- Bodies -----------------------------------------------------------------------------

TEST(HttpTransfer, LengthDelimitedBodyStopsAtContentLength)
{
    Outcome out = Exchange("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello and more");
    EXPECT_EQ(out.result, HttpResult::Done);
    EXPECT_EQ(out.content, "hello");
}

TEST(HttpTransfer, ChunkedBodyJoinsChunksAndHeaderNamesIgnoreCase)
{
    Outcome out = Exchange("HTTP/1.1 200 OK\r\ntransfer-encoding: chunked\r\n\r\n5\r\nhello\r\n"
                           "A\r\n, 10 bytes\r\n0\r\n\r\n");
    EXPECT_EQ(out.result, HttpResult::Done);
    EXPECT_EQ(out.content, "hello, 10 bytes");
}

TEST(HttpTransfer, ChunkSizeThatIsNotHexadecimalIsABadResponse)
{
    Outcome out = Exchange("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\nzz\r\nmore\r\n");
    EXPECT_EQ(out.result, HttpResult::BadResponse);
    EXPECT_EQ(out.content, "hello");
}

// A response cut short in any framing, or not a response at all, never ends as done.
TEST(HttpTransfer, ResponsesThatEndEarlyOrCannotBeParsedAreBadResponses)
{
    const char* responses[] = {
        "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhelloXX0\r\n\r\n",
        "HTTP/1.1 200 OK\r\nContent-Le",
        "HTTP/1.1 200 OK\r\nContent-Length: lots\r\n\r\nhello",
        "<html>not a status line</html>\r\n\r\n",
        "HTTP/1.1 2x0 OK\r\n\r\nbody",
        "",
    };
    for (const char* response : responses)
        EXPECT_EQ(Exchange(response).result, HttpResult::BadResponse) << response;
    // The same framings whole are fine, and a chunk's extension is ignored.
    EXPECT_EQ(Exchange("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;x=1\r\nhello\r\n0\r\n\r\n").content,
              "hello");
}

// --- Limits -------------------------------------------------------------------------------

Outcome ExchangeWithLimits(const std::string& response, const Quoll::HttpLimits& limits,
                           LoopbackHttpServer::Behaviour behaviour = LoopbackHttpServer::Behaviour::Respond)
{
    LoopbackHttpServer server(behaviour, response);
    HTTPTransfer transfer;
    transfer.SetLimits(limits);
    transfer.SendRequest("GET / HTTP/1.1\r\n\r\n", server.HostAndPort());
    HttpResult result = WaitForResult(transfer);
    return {result, transfer.GetContent(), {}};
}

TEST(HttpTransfer, HeadersPastTheirLimitAreTooLarge)
{
    const Quoll::HttpLimits limits; // 64 KiB of headers by default
    const std::string status = "HTTP/1.1 200 OK\r\n";
    const std::string fits = status + "X-Big: " + std::string(60 * 1024, 'a') + "\r\n\r\nok";
    EXPECT_EQ(ExchangeWithLimits(fits, limits).result, HttpResult::Done);
    // One long line without its end, and many short lines.
    EXPECT_EQ(ExchangeWithLimits(status + "X-Big: " + std::string(200 * 1024, 'a'), limits).result,
              HttpResult::TooLarge);
    std::string many = status;
    for (int i = 0; i < 8000; ++i)
        many += "X-Line: 1\r\n";
    EXPECT_EQ(ExchangeWithLimits(many + "\r\n", limits).result, HttpResult::TooLarge);
}

TEST(HttpTransfer, BodiesPastTheirLimitAreTooLargeInEveryFraming)
{
    Quoll::HttpLimits limits;
    limits.maxBodyBytes = 1000;
    const std::string body(1001, 'b');
    EXPECT_EQ(ExchangeWithLimits("HTTP/1.1 200 OK\r\nContent-Length: 1001\r\n\r\n" + body, limits).result,
              HttpResult::TooLarge);
    EXPECT_EQ(ExchangeWithLimits("HTTP/1.1 200 OK\r\n\r\n" + body, limits).result, HttpResult::TooLarge);
    EXPECT_EQ(ExchangeWithLimits("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1F4\r\n" +
                                     body.substr(0, 500) + "\r\n1F5\r\n" + body.substr(0, 501) + "\r\n0\r\n\r\n",
                                 limits)
                  .result,
              HttpResult::TooLarge);
    const Outcome exact =
        ExchangeWithLimits("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + body.substr(1), limits);
    EXPECT_EQ(exact.result, HttpResult::Done);
    EXPECT_EQ(exact.content.size(), 1000u);
    EXPECT_EQ(Quoll::HttpLimits().maxBodyBytes, 16u * 1024 * 1024);
}

TEST(HttpTransfer, ASilentServerTimesOutAfterTheIdleTime)
{
    Quoll::HttpLimits limits;
    limits.idleMilliseconds = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ExchangeWithLimits({}, limits, LoopbackHttpServer::Behaviour::Silent).result, HttpResult::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// A server that keeps sending, slowly, is never idle; the overall time still ends it.
TEST(HttpTransfer, ATricklingServerTimesOutAfterTheOverallTime)
{
    Quoll::HttpLimits limits;
    limits.overallMilliseconds = 400;
    limits.idleMilliseconds = 10'000;
    const std::string response = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(1000, 't');
    EXPECT_EQ(ExchangeWithLimits(response, limits, LoopbackHttpServer::Behaviour::Trickle).result,
              HttpResult::TimedOut);
}

TEST(HttpTransfer, BodyWithoutLengthEndsWhenTheServerCloses)
{
    Outcome plain = Exchange("HTTP/1.1 200 OK\r\n\r\nuntil close");
    EXPECT_EQ(plain.result, HttpResult::Done);
    EXPECT_EQ(plain.content, "until close");
    Outcome zero = Exchange("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\nstill read");
    EXPECT_EQ(zero.result, HttpResult::Done);
    EXPECT_EQ(zero.content, "still read");
}

// --- Result codes -------------------------------------------------------------------------

TEST(HttpTransfer, StatusCodesOtherThan200Fail)
{
    EXPECT_EQ(Exchange("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nnop").result, HttpResult::NotFound);
    EXPECT_EQ(Exchange("HTTP/1.0 500 Internal Server Error\r\n\r\n").result, HttpResult::HttpError);
}

TEST(HttpTransfer, AbortWhileWaitingForTheResponse)
{
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Silent);
    HTTPTransfer transfer;
    transfer.SendRequest("GET / HTTP/1.1\r\n\r\n", server.HostAndPort());
    while (server.Request().empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(transfer.GetResultCode(), HttpResult::InProgress);
    transfer.Abort();
    EXPECT_EQ(WaitForResult(transfer), HttpResult::Aborted);
}

TEST(HttpTransfer, NothingListeningIsAFailedConnection)
{
    HTTPTransfer transfer;
    transfer.SendRequest("GET / HTTP/1.1\r\n\r\n", "127.0.0.1:" + std::to_string(QuollTest::UnusedLoopbackPort()));
    EXPECT_EQ(WaitForResult(transfer), HttpResult::ConnectionFailed);
}

TEST(HttpTransfer, ResetWhileALargeAttachmentIsSentIsASendFailure)
{
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::ResetEarly);
    Quoll::CrashReportForm form = SampleForm();
    form.demoFile = std::string(16u << 20, '\x5a');
    HTTPTransfer transfer;
    transfer.SendRequest(Quoll::CrashReportUpload::BuildRequest(form, server.HostAndPort()), server.HostAndPort());
    EXPECT_EQ(WaitForResult(transfer), HttpResult::SendFailed); // and no SIGPIPE ended the test
}

TEST(HttpTransfer, ResolverThatFindsNothing)
{
    FakeResolver resolver;
    HTTPTransfer transfer;
    transfer.SendRequest("GET / HTTP/1.1\r\n\r\n", "nothing.invalid");
    EXPECT_EQ(WaitForResult(transfer), HttpResult::AddressNotResolved);
}

TEST(HttpTransfer, ResetReturnsToNotStartedWithANewId)
{
    Outcome unused = Exchange("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    (void)unused;
    HTTPTransfer transfer;
    EXPECT_EQ(transfer.GetResultCode(), HttpResult::NotStarted);
    int32_t before = transfer.GetTransferId();
    transfer.Reset();
    EXPECT_NE(transfer.GetTransferId(), before);
    EXPECT_EQ(transfer.GetResultCode(), HttpResult::NotStarted);
}

// --- URL and the crash-report request -----------------------------------------------------

TEST(HttpTransfer, UrlSplitsIntoHostPortAndPath)
{
    FakeResolver resolver;
    HTTPTransfer transfer;
    transfer.SendRequest("", "http://nothing.invalid:8080/a/b");
    EXPECT_EQ(transfer.GetHost(), "nothing.invalid");
    EXPECT_EQ(transfer.GetPort(), 8080);
    EXPECT_EQ(transfer.GetPath(), "/a/b");
    transfer.SendRequest("", "nothing.invalid");
    EXPECT_EQ(transfer.GetPort(), 80);
    EXPECT_EQ(transfer.GetPath(), "/");
    WaitForResult(transfer);
}

TEST(HttpTransfer, CrashReportRequestArrivesByteForByte)
{
    FakeResolver resolver;
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Respond, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    std::string submitHost = "reports.invalid:" + std::to_string(server.Port());
    std::string request = Quoll::CrashReportUpload::BuildRequest(SampleForm(), submitHost);
    HTTPTransfer transfer;
    transfer.SendRequest(request, submitHost);
    ASSERT_EQ(WaitForResult(transfer), HttpResult::Done);
    EXPECT_EQ(transfer.GetContent(), "ok");

    const std::string b = "-----------------------------7d3e1f30eec";
    const std::string body =
        b + "\r\nContent-Disposition: form-data; name=\"alpha\"\r\n\r\nfirst\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"zeta\"\r\n\r\nlast\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"prod\"\r\n\r\nPetriGlowSaga\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\n1.0.0\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"usertext\"\r\n\r\nIt crashed when I clicked.\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"errortitle\"\r\n\r\nException at 0001:00000010\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"errortext\"\r\n\r\n"
            "Exception: Access Violation (code 0xc0000005) at address 00001234 in thread 1F\r\n\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"demofile\"; filename=\"brightmoor.dmo\"\r\n"
            "Content-Type: application/octet-stream\r\n\r\n" +
        std::string("DEMO\0\xff\r\n--x", 11) + "\r\n" + b + "--\r\n";
    const std::string expected = "POST /gilded_error.php HTTP/1.1\r\n"
                                 "Content-Type: multipart/form-data; boundary=---------------------------7d3e1f30eec\r\n"
                                 "User-Agent: Mozilla/4.0 (compatible; brightmoor)\r\n"
                                 "Host: " + submitHost + "\r\n"
                                 "Content-Length: " + std::to_string(body.size()) + "\r\n"
                                 "Connection: close\r\n\r\n" + body;
    EXPECT_EQ(server.Request(), expected);
}

TEST(HttpTransfer, HostHeaderNamesTheParsedHostAndGivenPort)
{
    auto hostLine = [](const std::string& submitHost) {
        std::string request = Quoll::CrashReportUpload::BuildRequest(SampleForm(), submitHost);
        size_t at = request.find("\r\nHost: ") + 2;
        return request.substr(at, request.find("\r\n", at) - at);
    };
    EXPECT_EQ(hostLine("reports.invalid"), "Host: reports.invalid");
    EXPECT_EQ(hostLine("reports.invalid:8080"), "Host: reports.invalid:8080");
    EXPECT_EQ(hostLine("http://reports.invalid:8080/upload"), "Host: reports.invalid:8080");
}

TEST(HttpTransfer, CrashReportWithoutAttachmentHasNoDemoPart)
{
    Quoll::CrashReportForm form = SampleForm();
    form.demoFile.reset();
    std::string body = Quoll::CrashReportUpload::BuildBody(form);
    EXPECT_EQ(body.find("demofile"), std::string::npos);
    EXPECT_TRUE(body.ends_with("\r\n-----------------------------7d3e1f30eec--\r\n"));
}

// --- Demo hook -----------------------------------------------------------------------------

namespace
{
class FakeDemo : public Quoll::HttpDemoHook
{
public:
    bool playing = false;
    bool recording = false;
    struct Record
    {
        int32_t id;
        HttpResult result;
        std::string content;
    };
    std::vector<Record> records;

    bool IsPlayingBack() override { return playing; }
    bool IsRecording() override { return recording; }
    bool TakeRecordedResult(int32_t id, HttpResult& result, std::string& content) override
    {
        if (records.empty() || records.front().id != id)
            return false;
        result = records.front().result;
        content = records.front().content;
        records.erase(records.begin());
        return true;
    }
    void RecordResult(int32_t id, HttpResult result, const std::string& content) override
    {
        records.push_back({id, result, content});
    }
};

struct HookGuard
{
    explicit HookGuard(Quoll::HttpDemoHook* hook) { Quoll::SetHttpDemoHook(hook); }
    ~HookGuard() { Quoll::SetHttpDemoHook(nullptr); }
};
} // namespace

TEST(HttpTransfer, RecordingWritesEachChangeOfResult)
{
    FakeDemo demo;
    demo.recording = true;
    HookGuard guard(&demo);
    LoopbackHttpServer server(LoopbackHttpServer::Behaviour::Respond, "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nbody");
    HTTPTransfer transfer;
    transfer.SendRequest("GET / HTTP/1.1\r\n\r\n", server.HostAndPort());
    ASSERT_EQ(WaitForResult(transfer), HttpResult::Done);
    ASSERT_EQ(demo.records.size(), 2u);
    EXPECT_EQ(demo.records[0].result, HttpResult::InProgress);
    EXPECT_EQ(demo.records[0].content, "");
    EXPECT_EQ(demo.records[1].id, transfer.GetTransferId());
    EXPECT_EQ(demo.records[1].result, HttpResult::Done);
    EXPECT_EQ(demo.records[1].content, "body");
}

TEST(HttpTransfer, PlaybackTakesTheRecordedOutcomeWithoutASocket)
{
    FakeDemo demo;
    demo.playing = true;
    HookGuard guard(&demo);
    HTTPTransfer transfer;
    // Nothing listens there; the recorded outcome says otherwise.
    transfer.SendRequest("GET / HTTP/1.1\r\n\r\n", "127.0.0.1:" + std::to_string(QuollTest::UnusedLoopbackPort()));
    demo.records.push_back({transfer.GetTransferId() + 1, HttpResult::NotFound, "other transfer"});
    EXPECT_EQ(transfer.GetResultCode(), HttpResult::InProgress); // the due record is not ours
    demo.records.front() = {transfer.GetTransferId(), HttpResult::Done, "replayed"};
    EXPECT_EQ(transfer.GetResultCode(), HttpResult::Done);
    EXPECT_EQ(transfer.GetContent(), "replayed");
    transfer.WaitFinished(); // returns: the transfer is over
}
