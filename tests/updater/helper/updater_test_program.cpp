// Stands in for the program the updater keeps up to date. When it starts it appends its
// pid to "<its own path>.started", then waits until a signal ends it; with
// --ignore-term it ignores SIGTERM, so only SIGKILL ends it.
#include <csignal>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--ignore-term") == 0)
        std::signal(SIGTERM, SIG_IGN);

    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    const std::string marker = std::string(self, static_cast<size_t>(length)) + ".started";
    const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return 1;
    const std::string line = std::to_string(::getpid()) + "\n";
    const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    ::close(fd);
    if (!written)
        return 1;
    for (;;)
        ::pause();
}
