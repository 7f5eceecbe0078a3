// A private X desktop for the tests that need a real window system: an Xvfb server that
// picks a free display itself, and, when asked, the openbox window manager on it. DISPLAY
// names the server once it accepts clients; both stop when the object goes.
#pragma once

#include <string>
#include <sys/types.h>

namespace focaris::test {

class PrivateDesktop {
public:
    PrivateDesktop() = default;
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop &) = delete;
    PrivateDesktop &operator=(const PrivateDesktop &) = delete;

    // Starts the server (1280x1024, 24 bits) and, with `windowManager`, openbox, waiting
    // until each is ready (within a generous bound). False when one of them cannot start.
    bool start(bool windowManager);
    // The display's name (":N").
    const std::string &display() const { return display_; }

private:
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string display_;
    std::string scratch_;
};

} // namespace focaris::test
