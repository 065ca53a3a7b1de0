#include "Platform/Linux/XdgUrlOpener.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::TemporaryDirectory;

/// An opener that writes its arguments, one per line, into a FIFO the test reads.
class RecordingOpener {
public:
    RecordingOpener() {
        ::mkfifo(dir.path("arguments").c_str(), 0600);
        reader_ = ::open(dir.path("arguments").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        dir.write("opener",
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + dir.path("arguments") + "\"\n");
        ::chmod(dir.path("opener").c_str(), 0755);
    }
    ~RecordingOpener() { ::close(reader_); }

    [[nodiscard]] std::string program() const { return dir.path("opener"); }

    /// What the opener wrote, once it has finished writing; empty after five seconds.
    std::string arguments() {
        std::string out;
        char buffer[4096];
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd event{reader_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&event, 1, static_cast<int>(left.count())) <= 0) {
                return {};
            }
            const auto got = ::read(reader_, buffer, sizeof buffer);
            if (got > 0) {
                out.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 && !out.empty()) {
                return out;
            }
        }
    }

private:
    TemporaryDirectory dir;
    int reader_ = -1;
};

TEST(XdgUrlOpener, HandsAbsoluteUrlsOverAsOneArgument) {
    for (const std::string url :
         {"https://example.org/support?a=1&b=$(id)", "mailto:support@example.org",
          "file:///usr/share/doc/velmora/README.md#accessibility"}) {
        RecordingOpener opener;
        XdgUrlOpener urls(opener.program());
        ASSERT_TRUE(urls.open(url)) << url;
        EXPECT_EQ(opener.arguments(), url + "\n");
    }
}

TEST(XdgUrlOpener, RefusesTextThatIsNoUrlAndAMissingOpener) {
    RecordingOpener opener;
    XdgUrlOpener urls(opener.program());
    for (const char* text : {"", "not a url", "--help", "/etc/passwd", " https://example.org",
                             "https://exa mple.org", "relative/path"}) {
        EXPECT_FALSE(urls.open(text)) << text;
    }

    XdgUrlOpener missing("/nonexistent/xdg-open");
    EXPECT_FALSE(missing.open("https://example.org"));

    // Nothing ran: the first thing the opener writes is this.
    ASSERT_TRUE(urls.open("https://example.org/last"));
    EXPECT_EQ(opener.arguments(), "https://example.org/last\n");
}

} // namespace
} // namespace velmora
