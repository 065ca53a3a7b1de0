#pragma once

#include "Core/AppLogger.hpp"

namespace velmora {

/// The platform's logger before the program's log exists: every line goes to
/// `AppLogger::shared()`, which is made on first use, once the platform is installed.
///
///     platform.logger = std::make_shared<SharedAppLog>();
///     installPlatform(platform);
class SharedAppLog final : public Logging {
public:
    void log(std::string_view message, LogLevel level, std::string_view file,
             std::string_view function, int line) override {
        AppLogger::shared()->log(message, level, file, function, line);
    }
};

} // namespace velmora
