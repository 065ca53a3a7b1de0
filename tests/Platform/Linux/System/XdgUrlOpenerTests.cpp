#include "Platform/Linux/XdgUrlOpener.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <chrono>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testing::TemporaryDirectory;

/// An opener that appends its arguments, one per line, to a file the test reads.
class RecordingOpener {
public:
    RecordingOpener() {
        dir.write("opener",
                  "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"" + dir.path("arguments") + "\"\n");
        ::chmod(dir.path("opener").c_str(), 0755);
    }

    [[nodiscard]] std::string program() const { return dir.path("opener"); }

    /// What the openers that ran wrote, once one has; empty after five seconds.
    [[nodiscard]] std::string arguments() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::string out;
        while ((out = dir.read("arguments")).empty() &&
               std::chrono::steady_clock::now() < deadline) {
            ::poll(nullptr, 0, 10);
        }
        return out;
    }

private:
    TemporaryDirectory dir;
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
    for (const char* text : {"", "not a url", "--help", "/etc/passwd", "https://exa mple.org"}) {
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
