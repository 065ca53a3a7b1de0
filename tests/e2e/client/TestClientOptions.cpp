#include "TestClientOptions.hpp"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace velmora::e2e {

std::optional<TestClientOptions> TestClientOptions::parse(const std::vector<std::string>& arguments,
                                                          std::string& error) {
    TestClientOptions options;
    const std::map<std::string, bool*> flags{{"--popup", &options.popup},
                                             {"--transient", &options.transient},
                                             {"--override-redirect", &options.overrideRedirect},
                                             {"--no-pid", &options.noPid}};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (const auto flag = flags.find(name); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        if (i + 1 == arguments.size()) {
            error = "missing value after " + name;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        char trailing = 0;
        bool valid = true;
        try {
            if (name == "--wm-class") {
                const auto comma = value.find(',');
                valid = comma != std::string::npos;
                options.wmInstance = value.substr(0, comma);
                options.wmClass = value.substr(comma + 1);
            } else if (name == "--app-id") {
                options.appId = value;
            } else if (name == "--type") {
                options.windowType = value;
            } else if (name == "--state") {
                options.states.push_back(value);
            } else if (name == "--title") {
                options.title = value;
            } else if (name == "--color") {
                std::size_t used = 0;
                options.rgb = static_cast<std::uint32_t>(std::stoul(value, &used, 16));
                valid = value.size() == 6 && used == 6;
            } else if (name == "--geometry") {
                valid = std::sscanf(value.c_str(), "%dx%d+%d+%d%c", &options.width, &options.height,
                                    &options.x, &options.y, &trailing) == 4 &&
                        options.width > 0 && options.height > 0;
            } else if (name == "--windows") {
                options.windows = std::stoi(value);
                valid = options.windows >= 1;
            } else if (name == "--log") {
                options.logFile = value;
            } else if (name == "--ready-file") {
                options.readyFile = value;
            } else if (name == "--open-window-after") {
                options.openWindowAfterMs = std::stoi(value);
                valid = *options.openWindowAfterMs >= 0;
            } else {
                error = "unknown option " + name;
                return std::nullopt;
            }
        } catch (const std::logic_error&) {
            valid = false;
        }
        if (!valid) {
            error = "invalid value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}

} // namespace velmora::e2e
