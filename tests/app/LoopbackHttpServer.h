#pragma once
// A one-connection HTTP server on 127.0.0.1 at an ephemeral port, for transfer tests: it
// accepts one client, reads the request (headers and Content-Length body), keeps its bytes,
// then behaves as told. It never talks to anything but the loopback interface.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace QuollTest
{
class LoopbackHttpServer
{
public:
    enum class Behaviour
    {
        Respond, // send the response, then close
        Silent, // read the request and never answer (until the server is destroyed)
        ResetEarly, // read a little of the request, then reset the connection
        Trickle, // send the response one byte every 20 ms
    };

    LoopbackHttpServer(Behaviour behaviour, std::string response = {});
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int Port() const { return mPort; }
    // "127.0.0.1:<port>".
    std::string HostAndPort() const;
    // The request bytes received; complete once the transfer has ended.
    std::string Request();

private:
    void Serve();
    bool WaitReadable(int fd);
    void ReadRequest(int fd);

    Behaviour mBehaviour;
    std::string mResponse;
    int mListener = -1;
    int mPort = 0;
    std::atomic<bool> mStop{false};
    std::mutex mMutex;
    std::string mRequest;
    std::thread mThread;
};

// A port on 127.0.0.1 that nothing listens on (bound, then closed).
int UnusedLoopbackPort();
} // namespace QuollTest
