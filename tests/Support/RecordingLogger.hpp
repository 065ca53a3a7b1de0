#pragma once

#include "Support/Logging.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace velmora::testing {

/// Keeps every log call for tests to read back.
class RecordingLogger final : public Logging {
public:
    struct Entry {
        std::string message;
        LogLevel level;
    };

    void log(std::string_view message, LogLevel level, std::string_view, std::string_view,
             int) override {
        entries.push_back({std::string(message), level});
    }

    [[nodiscard]] std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& e : entries) {
            out.push_back(e.message);
        }
        return out;
    }

    [[nodiscard]] bool contains(std::string_view message, LogLevel level) const {
        return std::any_of(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.message == message && e.level == level;
        });
    }

    std::vector<Entry> entries;
};

} // namespace velmora::testing
