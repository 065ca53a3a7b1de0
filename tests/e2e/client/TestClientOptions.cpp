#include "TestClientOptions.hpp"

#include <charconv>
#include <cstdio>

namespace velmora::e2e {
namespace {

bool parseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [rest, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && rest == end;
}

bool parseColor(const std::string& text, std::uint32_t& rgb) {
    if (text.size() != 6) {
        return false;
    }
    const char* end = text.data() + text.size();
    auto [rest, ec] = std::from_chars(text.data(), end, rgb, 16);
    return ec == std::errc{} && rest == end;
}

bool parseGeometry(const std::string& text, TestClientOptions& options) {
    int width = 0, height = 0, x = 0, y = 0;
    char trailing = 0;
    if (std::sscanf(text.c_str(), "%dx%d+%d+%d%c", &width, &height, &x, &y, &trailing) != 4 ||
        width <= 0 || height <= 0) {
        return false;
    }
    options.width = width;
    options.height = height;
    options.x = x;
    options.y = y;
    return true;
}

bool parseWmClass(const std::string& text, TestClientOptions& options) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        return false;
    }
    options.wmInstance = text.substr(0, comma);
    options.wmClass = text.substr(comma + 1);
    return true;
}

} // namespace

std::optional<TestClientOptions> TestClientOptions::parse(const std::vector<std::string>& arguments,
                                                          std::string& error) {
    TestClientOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--popup" || name == "--transient" || name == "--override-redirect" ||
            name == "--no-pid") {
            (name == "--popup"       ? options.popup
             : name == "--transient" ? options.transient
             : name == "--no-pid"    ? options.noPid
                                     : options.overrideRedirect) = true;
            continue;
        }
        if (i + 1 == arguments.size()) {
            error = "missing value after " + name;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        bool valid = true;
        if (name == "--wm-class") {
            valid = parseWmClass(value, options);
        } else if (name == "--app-id") {
            options.appId = value;
        } else if (name == "--type") {
            options.windowType = value;
        } else if (name == "--state") {
            options.states.push_back(value);
        } else if (name == "--title") {
            options.title = value;
        } else if (name == "--color") {
            valid = parseColor(value, options.rgb);
        } else if (name == "--geometry") {
            valid = parseGeometry(value, options);
        } else if (name == "--windows") {
            valid = parseInt(value, options.windows) && options.windows >= 1;
        } else if (name == "--log") {
            options.logFile = value;
        } else if (name == "--ready-file") {
            options.readyFile = value;
        } else if (name == "--open-window-after") {
            int milliseconds = 0;
            valid = parseInt(value, milliseconds) && milliseconds >= 0;
            options.openWindowAfterMs = milliseconds;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!valid) {
            error = "invalid value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}

} // namespace velmora::e2e
