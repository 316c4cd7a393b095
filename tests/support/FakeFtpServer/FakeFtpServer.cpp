#include "FakeFtpServer.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int pollStepMs = 100;
constexpr int dataConnectTimeoutMs = 10000;

int listenOnLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int boundPort(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    return ntohs(address.sin_port);
}

bool waitReadable(int fd, int ms)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, ms) > 0;
}

bool sendAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool reply(int fd, const std::string &line)
{
    const std::string text = line + "\r\n";
    return sendAll(fd, text.data(), text.size());
}

// Joins a path given by the client to the current folder and folds "." and "..", never
// above the root.
std::string resolve(const std::string &current, const std::string &argument)
{
    const std::string joined = !argument.empty() && argument[0] == '/' ? argument : current + "/" + argument;
    std::vector<std::string> parts;
    size_t begin = 0;
    while (begin <= joined.size()) {
        const size_t end = std::min(joined.find('/', begin), joined.size());
        const std::string part = joined.substr(begin, end - begin);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        begin = end + 1;
    }
    std::string result;
    for (const std::string &part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

} // namespace

struct FakeFtpServer::Session {
    int control = -1;
    int passive = -1;
    std::string user;
    bool loggedIn = false;
    std::string current = "/";

    ~Session()
    {
        if (passive >= 0)
            ::close(passive);
    }
};

FakeFtpServer::FakeFtpServer(Options options) : m_options(std::move(options)) {}

FakeFtpServer::~FakeFtpServer()
{
    stop();
}

bool FakeFtpServer::start(int port)
{
    m_listener = listenOnLoopback(port);
    if (m_listener < 0)
        return false;
    m_port = boundPort(m_listener);
    m_stopping = false;
    m_acceptThread = std::thread([this] { acceptLoop(); });
    return true;
}

void FakeFtpServer::stop()
{
    m_stopping = true;
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    std::vector<std::thread> sessions;
    {
        const std::lock_guard lock(m_mutex);
        for (const int fd : m_sessionSockets)
            ::shutdown(fd, SHUT_RDWR);
        sessions.swap(m_sessionThreads);
    }
    for (std::thread &session : sessions)
        session.join();
    if (m_listener >= 0)
        ::close(m_listener);
    m_listener = -1;
}

std::vector<std::string> FakeFtpServer::commands() const
{
    const std::lock_guard lock(m_mutex);
    return m_commands;
}

void FakeFtpServer::record(const std::string &command)
{
    const std::lock_guard lock(m_mutex);
    m_commands.push_back(command);
}

void FakeFtpServer::acceptLoop()
{
    while (!m_stopping) {
        if (!waitReadable(m_listener, pollStepMs))
            continue;
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const std::lock_guard lock(m_mutex);
        m_sessionSockets.push_back(fd);
        m_sessionThreads.emplace_back([this, fd] { serve(fd); });
    }
}

void FakeFtpServer::serve(int controlSocket)
{
    Session session;
    session.control = controlSocket;
    std::string buffer;
    bool open = reply(controlSocket, "220 Fake FTP server ready");
    while (open && !m_stopping) {
        const size_t lineEnd = buffer.find("\r\n");
        if (lineEnd == std::string::npos) {
            if (!waitReadable(controlSocket, pollStepMs))
                continue;
            char chunk[1024];
            const ssize_t received = ::recv(controlSocket, chunk, sizeof chunk, 0);
            if (received <= 0)
                break;
            buffer.append(chunk, static_cast<size_t>(received));
            continue;
        }
        const std::string line = buffer.substr(0, lineEnd);
        buffer.erase(0, lineEnd + 2);
        const size_t space = line.find(' ');
        std::string verb = line.substr(0, space);
        std::transform(verb.begin(), verb.end(), verb.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        const std::string argument = space == std::string::npos ? std::string() : line.substr(space + 1);
        record(verb == "PASS" ? "PASS ****" : line);
        open = handle(session, verb, argument);
    }
    const std::lock_guard lock(m_mutex);
    m_sessionSockets.erase(std::remove(m_sessionSockets.begin(), m_sessionSockets.end(), controlSocket),
                           m_sessionSockets.end());
    ::close(controlSocket);
}

std::filesystem::path FakeFtpServer::realPath(const std::string &virtualPath) const
{
    return m_options.root / std::filesystem::path(virtualPath).relative_path();
}

// Answers one command; false ends the session.
bool FakeFtpServer::handle(Session &session, const std::string &verb, const std::string &argument)
{
    const int fd = session.control;
    if (verb == "QUIT") {
        reply(fd, "221 Goodbye");
        return false;
    }
    if (verb == "USER") {
        session.user = argument;
        session.loggedIn = false;
        return reply(fd, "331 Password required");
    }
    if (verb == "PASS") {
        session.loggedIn = !m_options.refuseLogins && session.user == m_options.user && argument == m_options.password;
        return reply(fd, session.loggedIn ? "230 Logged in" : "530 Login incorrect");
    }
    if (!session.loggedIn)
        return reply(fd, "530 Please log in with USER and PASS");

    std::error_code error;
    if (verb == "SYST")
        return reply(fd, "215 UNIX Type: L8");
    if (verb == "NOOP")
        return reply(fd, "200 OK");
    if (verb == "TYPE")
        return reply(fd, "200 Type set to " + argument);
    if (verb == "PWD")
        return reply(fd, "257 \"" + session.current + "\" is the current directory");
    if (verb == "CWD") {
        const std::string target = resolve(session.current, argument);
        if (!std::filesystem::is_directory(realPath(target), error))
            return reply(fd, "550 No such directory");
        session.current = target;
        return reply(fd, "250 Directory changed to " + target);
    }
    if (verb == "SIZE") {
        const std::filesystem::path file = realPath(resolve(session.current, argument));
        if (!std::filesystem::is_regular_file(file, error))
            return reply(fd, "550 No such file");
        return reply(fd, "213 " + std::to_string(std::filesystem::file_size(file, error)));
    }
    if (verb == "PASV" || verb == "EPSV") {
        if (session.passive >= 0)
            ::close(session.passive);
        session.passive = listenOnLoopback(0);
        if (session.passive < 0)
            return reply(fd, "425 Cannot open a data connection");
        const int port = boundPort(session.passive);
        if (verb == "EPSV")
            return reply(fd, "229 Entering Extended Passive Mode (|||" + std::to_string(port) + "|)");
        return reply(fd, "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," +
                             std::to_string(port % 256) + ")");
    }
    if (verb == "RETR") {
        retrieve(session, argument);
        return true;
    }
    return reply(fd, "502 Command not implemented");
}

void FakeFtpServer::retrieve(Session &session, const std::string &argument)
{
    const int fd = session.control;
    const std::filesystem::path file = realPath(resolve(session.current, argument));
    std::ifstream in(file, std::ios::binary);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || !in) {
        reply(fd, "550 No such file");
        return;
    }
    if (session.passive < 0) {
        reply(fd, "425 Use PASV or EPSV first");
        return;
    }
    reply(fd, "150 Opening BINARY mode data connection");
    const int listener = session.passive;
    session.passive = -1;
    const int data =
        waitReadable(listener, dataConnectTimeoutMs) ? ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
    ::close(listener);
    if (data < 0) {
        reply(fd, "425 No data connection");
        return;
    }
    long long left = m_options.cutAfterBytes;
    char chunk[16384];
    bool sent = true;
    while (sent && in && left != 0) {
        const long long wanted = left < 0 ? static_cast<long long>(sizeof chunk)
                                          : std::min<long long>(left, static_cast<long long>(sizeof chunk));
        in.read(chunk, wanted);
        const std::streamsize got = in.gcount();
        if (got <= 0)
            break;
        sent = sendAll(data, chunk, static_cast<size_t>(got));
        if (left > 0)
            left -= got;
    }
    ::close(data);
    reply(fd, sent ? "226 Transfer complete" : "426 Transfer aborted");
}
