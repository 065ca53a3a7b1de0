#include "Models/ProtectedAppsCoding.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace velmora {
namespace {

constexpr const char* kId = "6F9619FF-8B86-4D11-B42D-00C04FC964FF";

/// A stored entry ending in `tail`, which holds its "idleTimeoutMinutes" key, if any.
std::string entryWith(const std::string& tail) {
    return std::string(R"({"id":")") + kId +
           R"(","bundleIdentifier":"com.example.notes","displayName":"Notes",)"
           R"("addedDate":757382400.25,"autoLockEnabled":true)" +
           tail + "}";
}

/// A stored list of one otherwise good entry whose `key` holds `value`.
std::string listWith(const std::string& key, nlohmann::json value) {
    nlohmann::json entry = nlohmann::json::parse(entryWith(R"(,"idleTimeoutMinutes":5)"));
    entry[key] = std::move(value);
    // Built piece by piece: g++ 12 misreads a concatenation here as overlapping copies.
    std::string list = "[";
    list += entry.dump();
    list += "]";
    return list;
}

TEST(ProtectedAppsCoding, SavedListReadsBackToTheSameEntriesAndTheSameText) {
    const TimePoint reference{std::chrono::seconds{978307200}};
    const std::vector<ProtectedApp> apps{
        {kId, "com.example.notes", "Notes \"Ünïcode\"",
         reference + std::chrono::microseconds{757382400123457}, false, 0},
        {"0B1C2D3E-4F50-4162-8374-859607A8B9CA", "com.example.mail", "Mail",
         reference - std::chrono::milliseconds{1500}, true, 60},
    };

    const auto first = encodeProtectedApps(apps);
    ASSERT_TRUE(first);
    const auto decoded = decodeProtectedApps(*first);
    ASSERT_TRUE(decoded);
    EXPECT_EQ((*decoded)[1], apps[1]);
    EXPECT_LT(std::chrono::abs((*decoded)[0].addedDate - apps[0].addedDate),
              std::chrono::microseconds{1});
    EXPECT_EQ(encodeProtectedApps(*decoded), first);
    EXPECT_EQ(*first,
              std::string(R"([{"id":")") + kId +
                  R"(","bundleIdentifier":"com.example.notes","displayName":"Notes \"Ünïcode\"",)"
                  R"("addedDate":757382400.123457,"autoLockEnabled":false,"idleTimeoutMinutes":0},)"
                  R"({"id":"0B1C2D3E-4F50-4162-8374-859607A8B9CA","bundleIdentifier":)"
                  R"("com.example.mail","displayName":"Mail","addedDate":-1.5,)"
                  R"("autoLockEnabled":true,"idleTimeoutMinutes":60}])");
}

TEST(ProtectedAppsCoding, ReadsLowerCaseIdsWholeNumbersAndIgnoresExtraKeys) {
    const std::string lower =
        R"([{"idleTimeoutMinutes":5.0,"extra":[1,{}],)"
        R"("id":"6f9619ff-8b86-4d11-b42d-00c04fc964ff","addedDate":0,)"
        R"("bundleIdentifier":"b","displayName":"d","autoLockEnabled":true}])";
    const auto apps = decodeProtectedApps(lower);
    ASSERT_TRUE(apps);
    ASSERT_EQ(apps->size(), 1u);
    EXPECT_EQ(apps->front().id, kId);
    EXPECT_EQ(apps->front().idleTimeoutMinutes, 5);
    EXPECT_EQ(apps->front().addedDate, TimePoint{std::chrono::seconds{978307200}});
    EXPECT_EQ(decodeProtectedApps("[]"), std::vector<ProtectedApp>{});
}

TEST(ProtectedAppsCoding, AnyBadEntryRejectsTheWholeListAndSaysWhy) {
    const std::string good = entryWith(R"(,"idleTimeoutMinutes":5)");
    const std::vector<std::pair<std::string, std::string>> cases{
        {"[" + good + "," + entryWith("") + "]", R"(entry 1: key "idleTimeoutMinutes" is missing)"},
        {listWith("idleTimeoutMinutes", "5"),
         R"(entry 0: "idleTimeoutMinutes" is not a 64-bit integer)"},
        {listWith("idleTimeoutMinutes", 9223372036854775808ULL),
         R"(entry 0: "idleTimeoutMinutes" is not a 64-bit integer)"},
        {listWith("id", "not-a-uuid"), R"(entry 0: "id" is not a UUID)"},
        {listWith("displayName", nullptr), R"(entry 0: "displayName" is not a string)"},
        {listWith("addedDate", 1e300), R"(entry 0: "addedDate" is not a date within range)"},
        {listWith("autoLockEnabled", 1), R"(entry 0: "autoLockEnabled" is not true or false)"},
        {"{}", "the stored list is not a JSON array"},
    };
    for (const auto& [json, why] : cases) {
        std::string error;
        EXPECT_FALSE(decodeProtectedApps(json, &error)) << json;
        EXPECT_EQ(error, why) << json;
    }
    std::string error;
    EXPECT_FALSE(decodeProtectedApps("[{", &error));
    EXPECT_TRUE(error.starts_with("not valid JSON: ")) << error;
}

TEST(ProtectedAppsCoding, WritesWhatCannotBeStoredAsItIsInTheNearestFormThatReadsBack) {
    const TimePoint date{std::chrono::seconds{1735689600}};
    const std::vector<ProtectedApp> apps{
        {"not-a-uuid", "b", "d", date, true, 5},
        {kId, "b", "d", TimePoint::min(), true, 5},
        {kId, "b\xc3", "bad \xff name", date, true, 5},
    };
    const auto blob = encodeProtectedApps(apps);
    ASSERT_TRUE(blob);
    const auto read = decodeProtectedApps(*blob);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 3u);
    EXPECT_NE((*read)[0].id, "not-a-uuid");
    EXPECT_EQ((*read)[0].id.size(), 36u);
    EXPECT_LT((*read)[1].addedDate, date);
    EXPECT_EQ((*read)[2].bundleIdentifier, "b\uFFFD");
    EXPECT_EQ((*read)[2].displayName, "bad \uFFFD name");
}

} // namespace
} // namespace velmora
