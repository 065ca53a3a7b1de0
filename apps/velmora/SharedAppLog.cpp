#include "SharedAppLog.hpp"

#include "Core/AppLogger.hpp"

namespace velmora {

void SharedAppLog::log(std::string_view message, LogLevel level, std::string_view file,
                       std::string_view function, int line) {
    {
        const std::lock_guard lock(mutex_);
        if (!started_) {
            waiting_.push_back(
                {std::string(message), level, std::string(file), std::string(function), line});
            return;
        }
    }
    AppLogger::shared()->log(message, level, file, function, line);
}

void SharedAppLog::start() {
    std::vector<Line> waiting;
    {
        const std::lock_guard lock(mutex_);
        started_ = true;
        waiting.swap(waiting_);
    }
    for (const Line& line : waiting) {
        AppLogger::shared()->log(line.message, line.level, line.file, line.function, line.line);
    }
}

} // namespace velmora
