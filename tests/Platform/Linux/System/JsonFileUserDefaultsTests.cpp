#include "Platform/Linux/JsonFileUserDefaults.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace velmora {
namespace {

using testing::TemporaryDirectory;
using Json = nlohmann::json;

class JsonFileUserDefaultsTest : public ::testing::Test {
protected:
    [[nodiscard]] std::string file() const { return dir.path("velmora/defaults.json"); }
    [[nodiscard]] Json fileJson() const { return Json::parse(dir.read("velmora/defaults.json")); }

    TemporaryDirectory dir;
};

/// Deeper than any JSON the file takes: writing it out again would recurse that deep.
const std::string kDeeplyNested = std::string(100000, '[') + std::string(100000, ']');

struct DataCase {
    const char* name;
    std::string bytes;
    /// How the value shows in the file.
    Json inFile;
};

TEST_F(JsonFileUserDefaultsTest, ValuesComeBackFromTheFileAndDataReadsAsTheSameBytesOrJson) {
    const std::vector<DataCase> cases{
        {"array", R"([ {"b": 1.5, "a": "x"} ])", Json::parse(R"([{"a":"x","b":1.5}])")},
        {"text", "hello", "hello"},
        {"json scalar stays text", "true", "true"},
        {"wrapper shape stays text", R"({"base64":"AAAA"})", R"({"base64":"AAAA"})"},
        {"invalid utf-8", std::string("\xff\xfe\x00\x01", 4), Json{{"base64", "//4AAQ=="}}},
        {"nested too deeply", kDeeplyNested, kDeeplyNested},
    };
    {
        JsonFileUserDefaults defaults(file());
        for (const auto& c : cases) {
            ASSERT_TRUE(defaults.setData(c.name, c.bytes)) << c.name;
        }
        ASSERT_TRUE(defaults.setBool("launchAtLogin", true));
    }
    const Json stored = fileJson();
    JsonFileUserDefaults reopened(file());
    for (const auto& c : cases) {
        EXPECT_EQ(stored[c.name], c.inFile) << c.name;
        const auto back = reopened.data(c.name);
        ASSERT_TRUE(back) << c.name;
        if (c.inFile.is_structured() && !c.inFile.contains("base64")) {
            EXPECT_EQ(Json::parse(*back), Json::parse(c.bytes)) << c.name;
        } else {
            EXPECT_EQ(*back, c.bytes) << c.name;
        }
        EXPECT_FALSE(reopened.boolean(c.name)) << c.name;
    }
    EXPECT_EQ(stored["launchAtLogin"], Json(true));
    EXPECT_TRUE(reopened.boolean("launchAtLogin"));
    EXPECT_FALSE(reopened.data("launchAtLogin"));
    reopened.remove("launchAtLogin");
    EXPECT_FALSE(fileJson().contains("launchAtLogin"));
}

TEST_F(JsonFileUserDefaultsTest, UnreadableFileIsCopiedAsideAndNeverLost) {
    struct Case {
        const char* name;
        std::string contents;
        /// Copies aside from earlier starts, by suffix.
        std::map<std::string, std::string> earlier;
        const char* expectedCopy;
    };
    const std::vector<Case> cases{
        {"not json", "{\"protectedApps\": [", {}, ".unreadable"},
        {"nested too deeply", "{\"a\": " + kDeeplyNested + "}", {}, ".unreadable"},
        {"older different copy kept", "garbage", {{".unreadable", "older"}}, ".unreadable.2"},
        {"same copy not repeated", "garbage", {{".unreadable", "garbage"}}, ".unreadable"},
    };
    for (const auto& c : cases) {
        TemporaryDirectory local;
        const std::string path = local.write("defaults.json", c.contents);
        for (const auto& [suffix, contents] : c.earlier) {
            local.write("defaults.json" + suffix, contents);
        }

        ::testing::internal::CaptureStderr();
        JsonFileUserDefaults defaults(path);
        const std::string message = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(message.find(path + c.expectedCopy), std::string::npos) << c.name << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << c.name;

        EXPECT_EQ(local.read(std::string("defaults.json") + c.expectedCopy), c.contents) << c.name;
        for (const auto& [suffix, contents] : c.earlier) {
            EXPECT_EQ(local.read("defaults.json" + suffix), contents) << c.name;
        }
        EXPECT_FALSE(defaults.data("protectedApps")) << c.name;
        EXPECT_TRUE(defaults.setBool("launchAtLogin", true)) << c.name;
        EXPECT_EQ(Json::parse(local.read("defaults.json")), Json({{"launchAtLogin", true}}))
            << c.name;
    }
}

TEST_F(JsonFileUserDefaultsTest, AFileThatCannotBeReadOrCopiedAsideIsNeverReplaced) {
    // Not JSON, and a dangling link where the copy would go: nothing can be made under it.
    const std::string unreadable = dir.write("defaults.json", "not json");
    std::filesystem::create_symlink(dir.path("missing/target"),
                                    dir.path("defaults.json.unreadable"));
    // A directory: it cannot be read at all.
    dir.write("velmora/defaults.json/kept", "something");
    for (const std::string& path : {unreadable, file()}) {
        ::testing::internal::CaptureStderr();
        JsonFileUserDefaults defaults(path);
        EXPECT_NE(::testing::internal::GetCapturedStderr(), "") << path;
        EXPECT_FALSE(defaults.setBool("launchAtLogin", true)) << path;
        EXPECT_FALSE(defaults.setData("protectedApps", "[]")) << path;
        EXPECT_FALSE(defaults.boolean("launchAtLogin")) << path;
    }
    EXPECT_EQ(dir.read("defaults.json"), "not json");
    EXPECT_EQ(dir.read("velmora/defaults.json/kept"), "something");
}

TEST_F(JsonFileUserDefaultsTest, FailedWriteAnswersFalseAndKeepsThePreviousValue) {
    JsonFileUserDefaults defaults(file());
    ASSERT_TRUE(defaults.setData("protectedApps", "[1]"));
    ASSERT_TRUE(defaults.setBool("launchAtLogin", true));
    // A directory in the file's place: the new file cannot be renamed over it.
    std::filesystem::remove(file());
    dir.write("velmora/defaults.json/occupied", "");

    EXPECT_FALSE(defaults.setBool("launchAtLogin", false));
    EXPECT_FALSE(defaults.setData("protectedApps", "[2]"));
    defaults.remove("launchAtLogin");
    EXPECT_EQ(defaults.boolean("launchAtLogin"), true);
    EXPECT_EQ(defaults.data("protectedApps"), "[1]");
    EXPECT_EQ(dir.list("velmora"), std::set<std::string>{"defaults.json"});
}

TEST_F(JsonFileUserDefaultsTest, EachWriteReplacesTheWholeFileAtOnce) {
    JsonFileUserDefaults defaults(file());
    ASSERT_TRUE(defaults.setBool("launchAtLogin", true));
    const std::string before = dir.read("velmora/defaults.json");
    const int reader = ::open(file().c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);

    ASSERT_TRUE(defaults.setData("protectedApps", std::string(1 << 20, 'x')));

    // Someone who opened the old file still reads all of it: the new one was written
    // elsewhere and renamed into place, never written over the old one.
    std::string seen(before.size() + 1, '\0');
    const auto got = ::pread(reader, seen.data(), seen.size(), 0);
    ::close(reader);
    EXPECT_EQ(seen.substr(0, static_cast<std::size_t>(got)), before);
    EXPECT_EQ(JsonFileUserDefaults(file()).data("protectedApps")->size(), 1u << 20);
    EXPECT_EQ(dir.list("velmora"), std::set<std::string>{"defaults.json"});
}

} // namespace
} // namespace velmora
