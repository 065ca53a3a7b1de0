#include "harness/SwaySession.hpp"

#include "harness/Eventually.hpp"
#include "harness/SessionProcesses.hpp"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace velmora::e2e {
namespace {

// sway refuses to run as root.
constexpr uid_t kNobody = 65534;

// `command` as sway's user.
std::vector<std::string> asNobody(std::vector<std::string> command) {
    const std::string id = std::to_string(kNobody);
    command.insert(command.begin(),
                   {"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"});
    return command;
}

// Each wtype brings a keyboard of its own, whose first key a client sent its keymap only
// just now may lose: milliseconds before the first key.
constexpr const char* kKeymapPause = "50";

constexpr const char* kConfig = R"(output * resolution 1280x720 position 0 0
focus_follows_mouse no
focus_on_window_activation focus
xwayland force
bar {
    swaybar_command /bin/true
    position top
    tray_output *
}
)";

void collectWindows(const nlohmann::json& node, bool inScratchpad,
                    std::vector<SwaySession::Window>& windows) {
    inScratchpad = inScratchpad || node.value("name", "") == "__i3_scratch";
    if (node.contains("pid") && node["pid"].is_number()) {
        SwaySession::Window window;
        window.caption = node["name"].is_string() ? node["name"].get<std::string>() : "";
        window.pid = node["pid"].get<int>();
        if (node["app_id"].is_string()) {
            window.appId = node["app_id"];
        } else if (node.contains("window_properties")) {
            window.appId = node["window_properties"].value("class", "");
        }
        const auto& rect = node["rect"];
        window.frame = {rect["x"], rect["y"], rect["width"], rect["height"]};
        window.active = node.value("focused", false);
        window.minimized = inScratchpad && !node.value("visible", false);
        windows.push_back(window);
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        if (node.contains(children)) {
            for (const auto& child : node[children]) {
                collectWindows(child, inScratchpad, windows);
            }
        }
    }
}

// What sway names `title` in a criterion: an anchored regular expression.
std::string titleCriterion(const std::string& title) {
    std::string pattern = "^";
    for (const char c : title) {
        if (std::string_view("\\^$.|?*+()[]{}\"").find(c) != std::string_view::npos) {
            pattern += '\\';
        }
        pattern += c;
    }
    return "[title=\"" + pattern + "$\"]";
}

} // namespace

bool SwaySession::available() {
    return std::filesystem::exists("/usr/bin/sway") && std::filesystem::exists("/usr/bin/grim") &&
           std::filesystem::exists("/usr/bin/wtype");
}

SwaySession::SwaySession()
    : runtime_(root_.path("runtime")), log_(root_.path("sway.log")),
      pointerPipe_(root_.path("pointer")) {
    namespace fs = std::filesystem;
    // nobody passes through the test's folder to its runtime folder and configuration.
    fs::permissions(root_.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directories(runtime_);
    fs::create_directories(root_.path("client-runtime"));
    fs::permissions(root_.path("client-runtime"), fs::perms::owner_all);
    // swaybar, run as nobody, hosts the tray on it.
    fs::create_directories(root_.path("bus"));
    bus_ = std::make_unique<SessionBus>(root_.path("bus"), true);
    if (::chown(runtime_.c_str(), kNobody, kNobody) != 0) {
        throw std::runtime_error("cannot hand " + runtime_.string() + " to nobody");
    }
    fs::permissions(runtime_, fs::perms::owner_all);
    const std::string config = root_.write("sway.config", kConfig);
    // sway starts Xwayland through a fork that ends at once: it stays this test's to find.
    adoptOrphans();
    // sway binds its IPC socket at $SWAYSOCK when that is set, even to nothing. Taking
    // another user's identity clears the signal that ends it with the tests: it is asked again.
    const std::string command = "unset SWAYSOCK WAYLAND_DISPLAY DISPLAY; exec setpriv "
                                "--reuid=65534 --regid=65534 --clear-groups --pdeathsig TERM "
                                "sway -c " +
                                shellQuoted(config) + " > " + shellQuoted(log_.string()) + " 2>&1";
    sway_ = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"/bin/sh", "-c", command},
        testing::ChildProcess::Environment{{"XDG_RUNTIME_DIR", runtime_.string()},
                                           {"HOME", root_.path()},
                                           {"WLR_BACKENDS", "headless"},
                                           {"WLR_RENDERER", "pixman"},
                                           {"WLR_LIBINPUT_NO_DEVICES", "1"},
                                           {"WLR_HEADLESS_OUTPUTS", "1"}});
    const bool ready = eventually(
        [&] {
            std::error_code error;
            for (const auto& entry : fs::directory_iterator(runtime_, error)) {
                const std::string name = entry.path().filename();
                if (name.starts_with("sway-ipc.")) {
                    ipc_ = entry.path();
                } else if (name.starts_with("wayland-") && !name.ends_with(".lock")) {
                    wayland_ = entry.path();
                }
            }
            return !ipc_.empty() && !wayland_.empty() &&
                   !outputOf({"swaymsg", "-t", "get_version"}, environment()).empty();
        },
        std::chrono::seconds{10});
    // The first key wtype sends after sway starts is lost.
    if (!ready || !key("Shift_L")) {
        // The log goes with the folder.
        throw std::runtime_error("sway did not come up:\n" + testing::readFile(log_));
    }
    // Clients see a pointer from their start only if it is there before them.
    if (::mkfifo(pointerPipe_.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make " + pointerPipe_.string());
    }
    pointer_ = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{VELMORA_VIRTUAL_POINTER, pointerPipe_.string(), "1280", "720"},
        environment());
    if (!pointer_->isRunning()) {
        throw std::runtime_error("sway takes no virtual pointer");
    }
}

SwaySession::~SwaySession() {
    if (pointer_) {
        pointer_->terminate();
    }
    sway_->terminate();
}

std::unique_ptr<testing::ChildProcess> SwaySession::startBar() const {
    auto bar = std::make_unique<testing::ChildProcess>(
        asNobody({"swaybar", "-b", "bar-0"}),
        testing::ChildProcess::Environment{{"XDG_RUNTIME_DIR", runtime_.string()},
                                           {"WAYLAND_DISPLAY", wayland_},
                                           {"SWAYSOCK", ipc_},
                                           {"DBUS_SESSION_BUS_ADDRESS", bus_->address()}});
    const bool hosting = eventually([&] {
        return outputOf({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                         "/", "org.freedesktop.DBus.NameHasOwner",
                         "string:org.kde.StatusNotifierWatcher"},
                        environment())
                   .find("true") != std::string::npos;
    });
    return hosting ? std::move(bar) : nullptr;
}

std::string SwaySession::xwaylandDisplay() {
    // sway's Xwayland runs as nobody and lets in no other user: the tests' clients run as root.
    std::string display;
    eventually([&] {
        display = e2e::xwaylandDisplay();
        return !display.empty() &&
               runCommand(asNobody({"xhost", "+si:localuser:root"}), {{"DISPLAY", display}});
    });
    return display;
}

Environment SwaySession::environment() const {
    return {{"WAYLAND_DISPLAY", wayland_},
            {"SWAYSOCK", ipc_},
            {"XDG_RUNTIME_DIR", root_.path("client-runtime")},
            {"DBUS_SESSION_BUS_ADDRESS", bus_->address()},
            {"XDG_CURRENT_DESKTOP", "sway"},
            {"XDG_SESSION_TYPE", "wayland"},
            {"DISPLAY", ""},
            {"QT_QPA_PLATFORM", "wayland"}};
}

std::vector<SwaySession::Window> SwaySession::windows() {
    const auto tree = nlohmann::json::parse(
        outputOf({"swaymsg", "-r", "-t", "get_tree"}, environment()), nullptr, false);
    std::vector<Window> windows;
    if (tree.is_object()) {
        collectWindows(tree, false, windows);
    }
    return windows;
}

std::optional<std::chrono::system_clock::time_point>
SwaySession::activate(const std::string& title) {
    const auto replies = nlohmann::json::parse(
        outputOf({"swaymsg", "-r", titleCriterion(title) + " focus"}, environment()), nullptr,
        false);
    if (!replies.is_array() || replies.empty() || !replies[0].value("success", false)) {
        return std::nullopt;
    }
    return std::chrono::system_clock::now();
}

Image SwaySession::capture(std::optional<ScreenRect> area) {
    std::vector<std::string> argv{"grim", "-t", "ppm"};
    if (area) {
        argv.insert(argv.end(),
                    {"-g", std::to_string(area->x) + "," + std::to_string(area->y) + " " +
                               std::to_string(area->width) + "x" + std::to_string(area->height)});
    }
    argv.emplace_back("-");
    // A binary PPM: "P6 <width> <height> 255", one blank and its pixels.
    const std::string ppm = outputOf(argv, environment());
    std::istringstream header(ppm);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    header >> magic >> width >> height >> maximum;
    const std::size_t count = header && width > 0 && height > 0 ? std::size_t(width) * height : 0;
    std::size_t at = header ? std::size_t(header.tellg()) + 1 : 0;
    if (magic != "P6" || count == 0 || ppm.size() < at + count * 3) {
        throw std::runtime_error("grim gave no picture of the output");
    }
    std::vector<Rgb> pixels(count);
    for (std::size_t i = 0; i < pixels.size(); ++i, at += 3) {
        pixels[i] = {std::uint8_t(ppm[at]), std::uint8_t(ppm[at + 1]), std::uint8_t(ppm[at + 2])};
    }
    const ScreenRect shown = area.value_or(ScreenRect{0, 0, width, height});
    return {{shown.x, shown.y, width, height}, std::move(pixels)};
}

bool SwaySession::click(int x, int y) {
    std::ofstream(pointerPipe_) << x << " " << y << "\n";
    return pointer_->isRunning();
}

bool SwaySession::type(const std::string& text) {
    return runCommand({"wtype", "-s", kKeymapPause, text}, environment());
}

bool SwaySession::key(const std::string& keysym) {
    return runCommand({"wtype", "-s", kKeymapPause, "-k", keysym}, environment());
}

std::unique_ptr<testing::ChildProcess> SwaySession::startTyping(const std::string& text) const {
    return std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"wtype", "-s", kKeymapPause, "-d", "2", text}, environment());
}

} // namespace velmora::e2e
