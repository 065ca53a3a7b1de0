#include "Platform/Linux/SettingsLinkOpener.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct RecordingOpener final : UrlOpening {
    bool open(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

TEST(SettingsLinkOpener, SettingsPanesOpenTheirHelpSectionsAndOtherLinksPassThrough) {
    auto recording = std::make_shared<RecordingOpener>();
    SettingsLinkOpener opener(recording, "/usr/share/doc/velmora/README.md");
    const std::vector<std::pair<std::string, std::string>> cases{
        {std::string(settings_links::accessibility),
         "file:///usr/share/doc/velmora/README.md#accessibility"},
        {std::string(settings_links::inputMonitoring),
         "file:///usr/share/doc/velmora/README.md#input-monitoring"},
        {"https://example.org/", "https://example.org/"},
    };
    for (const auto& [url, expected] : cases) {
        EXPECT_TRUE(opener.open(url));
        EXPECT_EQ(recording->opened.back(), expected) << url;
    }
}

} // namespace
} // namespace velmora
