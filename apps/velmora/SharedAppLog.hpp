#pragma once

#include "Support/Logging.hpp"

#include <mutex>
#include <string>
#include <vector>

namespace velmora {

/// The platform's logger, made before the program's log can exist: `AppLogger::shared()`
/// needs the installed platform. Lines logged before `start` wait and then go first.
///
///     auto log = std::make_shared<SharedAppLog>();
///     platform.logger = log;
///     installPlatform(platform);
///     log->start();   // from here on every line goes to AppLogger::shared()
class SharedAppLog final : public Logging {
public:
    void log(std::string_view message, LogLevel level, std::string_view file,
             std::string_view function, int line) override;
    void start();

private:
    struct Line {
        std::string message;
        LogLevel level;
        std::string file;
        std::string function;
        int line;
    };

    std::mutex mutex_;
    bool started_ = false;
    std::vector<Line> waiting_;
};

} // namespace velmora
