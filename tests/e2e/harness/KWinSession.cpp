#include "harness/KWinSession.hpp"

#include "harness/Eventually.hpp"
#include "harness/SessionProcesses.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace velmora::e2e {
namespace {

constexpr const char* kPackagedKWin = "/usr/bin/kwin_wayland";
constexpr const char* kSocket = "velmora-e2e";

std::string jsString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

} // namespace

bool KWinSession::available() {
    return std::filesystem::exists(kPackagedKWin);
}

KWinSession::KWinSession() : log_(root_.path("kwin.log")) {
    for (const char* directory : {"runtime", "home", "config"}) {
        std::filesystem::create_directories(root_.path(directory));
    }
    std::filesystem::permissions(root_.path("runtime"), std::filesystem::perms::owner_all);
    xvfb_ = std::make_unique<testing::XvfbServer>();
    display_ = std::make_unique<XDisplay>(xDisplay());
    xdo_ = std::make_unique<XdoTool>(xDisplay());
    bus_ = std::make_unique<SessionBus>(root_.path("runtime"));
    // The packaged binary carries a file capability that stops it as root in a container;
    // a copy has none.
    const std::filesystem::path binary = root_.path("kwin_wayland");
    std::filesystem::copy_file(kPackagedKWin, binary);
    const std::string command =
        "exec " + shellQuoted(binary.string()) + " --x11-display " + xDisplay() +
        " --width 1280 --height 800 --socket " + kSocket +
        " --no-lockscreen --no-global-shortcuts --no-kactivities --xwayland > " +
        shellQuoted(log_.string()) + " 2>&1";
    kwin_ = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"/bin/sh", "-c", command},
        testing::ChildProcess::Environment{{"DISPLAY", xDisplay()},
                                           {"XDG_RUNTIME_DIR", root_.path("runtime")},
                                           {"HOME", root_.path("home")},
                                           {"XDG_CONFIG_HOME", root_.path("config")},
                                           {"DBUS_SESSION_BUS_ADDRESS", bus_->address()},
                                           {"KWIN_COMPOSE", "Q"},
                                           {"KWIN_WAYLAND_NO_PERMISSION_CHECKS", "1"},
                                           {"LIBGL_ALWAYS_SOFTWARE", "1"},
                                           {"QT_QPA_PLATFORM", "xcb"}});
    const bool ready = eventually(
        [&] {
            return std::filesystem::exists(root_.path("runtime/") + kSocket) &&
                   !call({"--dest=org.kde.KWin", "/Scripting", "org.freedesktop.DBus.Peer.Ping"})
                        .empty();
        },
        std::chrono::seconds{20});
    // Keys typed on the X display reach KWin once it was clicked; nothing is shown yet.
    if (!ready || !click(1279, 799)) {
        throw std::runtime_error("KWin did not come up; its log is " + log_.string());
    }
}

KWinSession::~KWinSession() {
    kwin_->terminate();
}

std::unique_ptr<testing::ChildProcess> KWinSession::startTyping(const std::string& text) const {
    return std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"xdotool", "type", "--delay", "1", text},
        testing::ChildProcess::Environment{{"DISPLAY", xDisplay()}});
}

std::string KWinSession::call(const std::vector<std::string>& arguments) const {
    std::vector<std::string> argv{"dbus-send", "--session", "--print-reply"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return outputOf(argv, {{"DBUS_SESSION_BUS_ADDRESS", bus_->address()}});
}

Environment KWinSession::environment() const {
    return {{"WAYLAND_DISPLAY", kSocket},
            {"XDG_RUNTIME_DIR", root_.path("runtime")},
            {"DBUS_SESSION_BUS_ADDRESS", bus_->address()},
            {"XDG_CURRENT_DESKTOP", "KDE"},
            {"XDG_SESSION_TYPE", "wayland"},
            {"DISPLAY", ""},
            {"QT_QPA_PLATFORM", "wayland"}};
}

std::string KWinSession::xwaylandDisplay() const {
    return e2e::xwaylandDisplay();
}

std::vector<std::string> KWinSession::runScript(const std::string& body) {
    // One that does not end in time is loaded again under another name.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::string tag = "velmora-e2e-" + std::to_string(++scripts_);
        const std::string path = root_.path(tag + ".js");
        std::ofstream(path) << "(function (tag) {\n"
                            << "var windows = typeof workspace.windowList === 'function' ? "
                               "workspace.windowList() : workspace.clientList();\n"
                            << body << "\nprint(tag + ' end');\n})('" << tag << "');\n";
        const std::string loaded =
            call({"--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.loadScript",
                  "string:" + path, "string:" + tag});
        if (loaded.find("int32 ") == std::string::npos) {
            continue;
        }
        // Not `run` on its number: KWin numbers scripts by their count, so that may be another's.
        call({"--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.start"});
        std::vector<std::string> lines;
        const bool ended = eventually(
            [&] {
                lines.clear();
                std::ifstream log(log_);
                bool done = false;
                for (std::string line; std::getline(log, line);) {
                    const auto at = line.find(tag + " ");
                    if (at == std::string::npos) {
                        continue;
                    }
                    const std::string rest = line.substr(at + tag.size() + 1);
                    done = done || rest == "end";
                    if (rest != "end") {
                        lines.push_back(rest);
                    }
                }
                return done;
            },
            std::chrono::seconds{2});
        call({"--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.unloadScript",
              "string:" + tag});
        if (ended) {
            return lines;
        }
    }
    return {};
}

std::vector<KWinSession::Window> KWinSession::windows() {
    const auto lines = runScript(R"(
for (var i = 0; i < windows.length; ++i) {
    var w = windows[i];
    var f = w.frameGeometry;
    print(tag + ' ' + [w.pid, w.desktopFileName, Math.round(f.x), Math.round(f.y),
        Math.round(f.width), Math.round(f.height), w.minimized ? 1 : 0, w.active ? 1 : 0,
        w.caption].join('\t'));
})");
    std::vector<Window> windows;
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        std::vector<std::string> values;
        for (std::string field; std::getline(fields, field, '\t');) {
            values.push_back(field);
        }
        if (values.size() < 9) {
            continue;
        }
        windows.push_back({.caption = values[8],
                           .pid = std::stoi(values[0]),
                           .appId = values[1],
                           .frame = {std::stoi(values[2]), std::stoi(values[3]),
                                     std::stoi(values[4]), std::stoi(values[5])},
                           .minimized = values[6] == "1",
                           .active = values[7] == "1"});
    }
    return windows;
}

std::vector<std::string> KWinSession::withWindow(const std::string& caption,
                                                 const std::string& action) {
    return runScript("for (var i = 0; i < windows.length; ++i) {\n"
                     "    var w = windows[i];\n"
                     "    if (w.caption === " +
                     jsString(caption) + ") {\n" + action + "\n    }\n}");
}

std::optional<std::chrono::system_clock::time_point>
KWinSession::activate(const std::string& caption) {
    const auto lines = withWindow(caption, R"(w.minimized = false;
        if (typeof workspace.windowList === 'function') { workspace.activeWindow = w; }
        else { workspace.activeClient = w; }
        print(tag + ' ' + Date.now());)");
    if (lines.empty()) {
        return std::nullopt;
    }
    return std::chrono::system_clock::time_point(
        std::chrono::milliseconds(std::stoll(lines.front())));
}

bool KWinSession::place(const std::string& caption, const ScreenRect& frame) {
    return !withWindow(caption, "w.frameGeometry = {x: " + std::to_string(frame.x) +
                                    ", y: " + std::to_string(frame.y) +
                                    ", width: " + std::to_string(frame.width) + ", height: " +
                                    std::to_string(frame.height) + "};\nprint(tag + ' done');")
                .empty();
}

} // namespace velmora::e2e
