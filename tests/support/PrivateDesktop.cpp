// The private X desktop of the tests.
#include "PrivateDesktop.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace focaris::test {
namespace {

void stop(pid_t pid)
{
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
}

} // namespace

bool PrivateDesktop::start(bool windowManager)
{
    // -displayfd makes the server pick a free display and write its number once it accepts
    // clients, so nothing waits on a guess.
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    server_ = ::fork();
    if (server_ == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (server_ < 0 || number.empty())
        return false;
    display_ = ":" + number;
    ::setenv("DISPLAY", display_.c_str(), 1);
    if (!windowManager)
        return true;

    // The manager reads its settings from a fresh folder (never the person's own) and runs
    // its start-up command, which leaves a file, once it manages the screen.
    char scratch[] = "/tmp/focaris-desktop-XXXXXX";
    if (!::mkdtemp(scratch))
        return false;
    scratch_ = scratch;
    const std::string ready = scratch_ + "/wm-ready";
    manager_ = ::fork();
    if (manager_ == 0) {
        ::setenv("XDG_CONFIG_HOME", scratch_.c_str(), 1);
        const std::string startup = "touch " + ready;
        ::execlp("openbox", "openbox", "--startup", startup.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    if (manager_ < 0)
        return false;
    for (int i = 0; i < 600 && ::access(ready.c_str(), F_OK) != 0; ++i) {
        if (::waitpid(manager_, nullptr, WNOHANG) == manager_) {
            manager_ = -1;
            return false;
        }
        ::usleep(100000);
    }
    return ::access(ready.c_str(), F_OK) == 0;
}

PrivateDesktop::~PrivateDesktop()
{
    stop(manager_);
    stop(server_);
    if (!scratch_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(scratch_, ignored);
    }
}

} // namespace focaris::test
