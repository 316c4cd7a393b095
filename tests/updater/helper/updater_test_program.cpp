// Stands in for the program the updater keeps up to date. When it starts it appends its
// pid to "<its own path>.started", then waits until a signal ends it; with
// --ignore-term it ignores SIGTERM, so only SIGKILL ends it; with --end-late MS it ends
// by itself MS milliseconds after SIGTERM, leaving "<its own path>.ended", as a program
// that ends in order takes its time.
#include <csignal>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t termSeen = 0;

extern "C" void onTerm(int)
{
    termSeen = 1;
}

bool writeMarker(const std::string &path, const std::string &text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return written;
}

} // namespace

int main(int argc, char **argv)
{
    int endLateMs = -1;
    if (argc > 1 && std::strcmp(argv[1], "--ignore-term") == 0)
        std::signal(SIGTERM, SIG_IGN);
    if (argc > 2 && std::strcmp(argv[1], "--end-late") == 0) {
        endLateMs = std::stoi(argv[2]);
        std::signal(SIGTERM, onTerm);
    }

    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    const std::string program(self, static_cast<size_t>(length));
    if (!writeMarker(program + ".started", std::to_string(::getpid()) + "\n"))
        return 1;
    while (termSeen == 0)
        ::pause();
    ::usleep(static_cast<useconds_t>(endLateMs) * 1000);
    return writeMarker(program + ".ended", "ended\n") ? 0 : 1;
}
