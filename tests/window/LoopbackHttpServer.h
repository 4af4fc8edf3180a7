#pragma once

// A tiny HTTP server on the loopback interface, run by the test itself on a
// thread of its own: each path answers as its route says, including the
// faults a download must survive (a status other than 200, no length, a
// body cut short by an early close). One request per connection.

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace httptest {

struct Route
{
    int status = 200;
    std::string body;
    bool sendLength = true;
    // The Content-Length announced; -1 announces the body's true size.
    long long announcedLength = -1;
    // Bytes of the body sent before the server closes; -1 sends it all.
    long long cutAfter = -1;
};

class LoopbackHttpServer
{
public:
    LoopbackHttpServer()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_listener, 8);
        int length = sizeof(address);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~LoopbackHttpServer()
    {
        m_stopping = true;
        closesocket(m_listener);
        if (m_thread.joinable())
            m_thread.join();
        WSACleanup();
    }

    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    void Add(const std::string& path, const Route& route)
    {
        std::lock_guard<std::mutex> held(m_lock);
        m_routes[path] = route;
    }

    unsigned short Port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by path.
    std::wstring Url(const std::string& path) const
    {
        const std::string url = "http://127.0.0.1:" + std::to_string(m_port) + path;
        return std::wstring(url.begin(), url.end());
    }
    int Requests(const std::string& path)
    {
        std::lock_guard<std::mutex> held(m_lock);
        return m_requests[path];
    }

    // A loopback port where nothing listens.
    static unsigned short ClosedPort()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        closesocket(probe);
        WSACleanup();
        return ntohs(address.sin_port);
    }

private:
    void Serve()
    {
        while (!m_stopping) {
            SOCKET client = accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                break;
            Answer(client);
            closesocket(client);
        }
    }

    void Answer(SOCKET client)
    {
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                return;
            request.append(buffer, static_cast<size_t>(got));
        }
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        Route route;
        {
            std::lock_guard<std::mutex> held(m_lock);
            ++m_requests[path];
            auto found = m_routes.find(path);
            if (found != m_routes.end()) {
                route = found->second;
            } else {
                route.status = 404;
                route.body = "not here";
            }
        }
        std::string answer = "HTTP/1.1 " + std::to_string(route.status) + (route.status == 200 ? " OK" : " Error") +
                             "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n";
        if (route.sendLength) {
            const long long length =
                route.announcedLength >= 0 ? route.announcedLength : static_cast<long long>(route.body.size());
            answer += "Content-Length: " + std::to_string(length) + "\r\n";
        }
        answer += "\r\n";
        answer += route.cutAfter >= 0 ? route.body.substr(0, static_cast<size_t>(route.cutAfter)) : route.body;
        size_t sent = 0;
        while (sent < answer.size()) {
            const int put = send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
            if (put <= 0)
                break;
            sent += static_cast<size_t>(put);
        }
        shutdown(client, SD_SEND);
        // Let the client read everything before the socket goes, without
        // waiting on a client that keeps the connection.
        DWORD timeout = 2000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
        while (recv(client, buffer, sizeof(buffer), 0) > 0) {
        }
    }

    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
    std::mutex m_lock;
    std::map<std::string, Route> m_routes;
    std::map<std::string, int> m_requests;
};

} // namespace httptest
