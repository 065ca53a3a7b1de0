#include "Support/DateDescription.hpp"

#include <array>
#include <cstdio>
#include <ctime>

namespace velmora {

std::string defaultDateDescription(TimePoint time) {
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<seconds>(time - day)};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld +0000",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<long>(clock.hours().count()),
                  static_cast<long>(clock.minutes().count()),
                  static_cast<long>(clock.seconds().count()));
    return text;
}

std::string shortLocalDescription(TimePoint time, TimePoint now) {
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto local = [](TimePoint point) {
        const std::time_t seconds = std::chrono::system_clock::to_time_t(point);
        std::tm fields{};
        localtime_r(&seconds, &fields);
        return fields;
    };
    const std::tm at = local(time);
    const std::tm today = local(now);
    char text[32];
    if (at.tm_year == today.tm_year && at.tm_yday == today.tm_yday) {
        std::snprintf(text, sizeof text, "%02d:%02d", at.tm_hour, at.tm_min);
    } else {
        std::snprintf(text, sizeof text, "%d %s %02d:%02d", at.tm_mday,
                      kMonths[static_cast<std::size_t>(at.tm_mon) % kMonths.size()], at.tm_hour,
                      at.tm_min);
    }
    return text;
}

} // namespace velmora
