#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A small FTP server on 127.0.0.1 that serves one folder read-only over real sockets:
// USER/PASS for one account (530 for any other), SYST, PWD, CWD (550 for a missing
// folder), TYPE, PASV, EPSV, SIZE, RETR, NOOP and QUIT; passive data connections only.
// Switches make it refuse every login or cut each download after a number of bytes while
// still answering 226, as a server that loses a transfer half-way does.
class FakeFtpServer {
public:
    struct Options {
        std::filesystem::path root;
        std::string user = "kdata_pull";
        std::string password = "52806314";
        bool refuseLogins = false;
        long long cutAfterBytes = -1; // negative: send whole files
    };

    explicit FakeFtpServer(Options options);
    ~FakeFtpServer();
    FakeFtpServer(const FakeFtpServer &) = delete;
    FakeFtpServer &operator=(const FakeFtpServer &) = delete;

    // Listens on 127.0.0.1:port (0 picks a free port); false when the port cannot be bound.
    bool start(int port = 0);
    // Closes the listener and every session; returns when all are gone.
    void stop();
    int port() const { return m_port; }

    // The commands received so far in arrival order, as sent (a password shows as "PASS ****").
    std::vector<std::string> commands() const;

private:
    struct Session;
    void acceptLoop();
    void serve(int controlSocket);
    bool handle(Session &session, const std::string &verb, const std::string &argument);
    void retrieve(Session &session, const std::string &argument);
    std::filesystem::path realPath(const std::string &virtualPath) const;
    void record(const std::string &command);

    Options m_options;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_acceptThread;
    mutable std::mutex m_mutex;
    std::vector<std::thread> m_sessionThreads;
    std::vector<int> m_sessionSockets;
    std::vector<std::string> m_commands;
};
