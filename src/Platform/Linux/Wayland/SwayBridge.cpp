#include "Platform/Linux/Wayland/SwayBridge.hpp"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <unistd.h>

namespace velmora {
namespace {

constexpr int kFirstTreeTimeoutMs = 5000;
// Far outside every output: a parked shield stays mapped, its first frame long drawn.
constexpr const char* kParked = "move absolute position -20000 -20000";

struct Tree {
    std::map<WindowNumber, kwin::Window> windows;
    std::map<WindowNumber, std::string> titles;
    std::optional<WindowNumber> focused;
    int stacking = 0;
};

int integer(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_number() ? found->get<int>() : 0;
}

std::string text(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

// Tiled windows are listed before floating ones, which sway draws above them.
void collect(const nlohmann::json& node, bool inScratchpad, ProcessId ownPid, Tree& tree) {
    if (!node.is_object()) {
        return;
    }
    inScratchpad = inScratchpad || text(node, "name") == "__i3_scratch";
    const auto id = node.find("id");
    if (node.contains("pid") && node["pid"].is_number() && id != node.end() && id->is_number()) {
        const auto number = id->get<WindowNumber>();
        const nlohmann::json properties = node.value("window_properties", nlohmann::json::object());
        const std::string appId = text(node, "app_id");
        const auto& rect = node.value("rect", nlohmann::json::object());
        // The title bar lies above the rect of a tiled window.
        const int title = integer(node.value("deco_rect", nlohmann::json::object()), "height");
        const bool visible = node.value("visible", false);
        kwin::Window window{.number = number,
                            .pid = node["pid"].get<ProcessId>(),
                            .desktopFile = appId,
                            .resourceClass = appId.empty() ? text(properties, "class") : appId,
                            .resourceName = appId.empty() ? text(properties, "instance") : appId,
                            .frame = {static_cast<double>(integer(rect, "x")),
                                      static_cast<double>(integer(rect, "y") - title),
                                      static_cast<double>(integer(rect, "width")),
                                      static_cast<double>(integer(rect, "height") + title)},
                            .stacking = ++tree.stacking,
                            .minimized = inScratchpad && !visible,
                            .visible = visible};
        const std::string name = text(node, "name");
        window.shield = window.pid == ownPid && name.starts_with(kwin::kShieldTitlePrefix);
        tree.windows[number] = window;
        tree.titles[number] = name;
        if (node.value("focused", false)) {
            tree.focused = number;
        }
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        if (const auto found = node.find(children); found != node.end() && found->is_array()) {
            for (const auto& child : *found) {
                collect(child, inScratchpad, ownPid, tree);
            }
        }
    }
}

WindowNumber numberIn(const QVariantMap& command, const char* key) {
    return command.value(QLatin1String(key)).toULongLong();
}

} // namespace

std::shared_ptr<SwayBridge> SwayBridge::connect(const std::string& socketPath,
                                                std::shared_ptr<RunLoop> runLoop,
                                                std::shared_ptr<Logging> logger,
                                                std::string& error) {
    auto ipc = SwayIpc::connect(socketPath, error);
    if (!ipc) {
        return nullptr;
    }
    std::shared_ptr<SwayBridge> bridge(
        new SwayBridge(std::move(ipc), std::move(runLoop), std::move(logger)));
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.start(kFirstTreeTimeoutMs);
    while (!bridge->treeKnown_ && timeout.isActive() && bridge->ipc_->isConnected()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    if (!bridge->treeKnown_) {
        error = "sway did not list its windows";
        return nullptr;
    }
    return bridge;
}

SwayBridge::SwayBridge(std::unique_ptr<SwayIpc> ipc, std::shared_ptr<RunLoop> runLoop,
                       std::shared_ptr<Logging> logger)
    : ipc_(std::move(ipc)), runLoop_(std::move(runLoop)), logger_(std::move(logger)),
      ownPid_(static_cast<ProcessId>(::getpid())) {
    events_ = ipc_->observeEvents([this](std::uint32_t type, const nlohmann::json& body) {
        if (type == SwayIpc::kWindowEvent) {
            windowEvent(body);
        }
    });
    ipcLost_ = ipc_->observeLost([this] { lost_.emit(); });
    ipc_->subscribe({"window"});
    // Velmora's windows float from the moment they map, shields parked: tiled first, each
    // would take half the screen and squeeze the windows beside it until the tree is read.
    const std::string own = "for_window [pid=" + std::to_string(ownPid_);
    command(own + "] floating enable");
    command(own + " title=\"^" + kwin::kShieldTitlePrefix +
            "\"] floating enable, sticky enable, border none, " + kParked);
    refresh();
}

SwayBridge::~SwayBridge() {
    lifetime_.end();
}

void SwayBridge::refresh() {
    if (std::exchange(refreshing_, true)) {
        refreshAgain_ = true;
        return;
    }
    ipc_->getTree(lifetime_.guard([this](const nlohmann::json& tree) {
        refreshing_ = false;
        treeArrived(tree);
        if (std::exchange(refreshAgain_, false)) {
            refresh();
        }
    }));
}

void SwayBridge::windowEvent(const nlohmann::json& event) {
    const std::string change = text(event, "change");
    const auto container = event.value("container", nlohmann::json::object());
    const auto number = static_cast<WindowNumber>(container.value("id", std::int64_t{0}));
    if (change == "focus") {
        focused_ = number;
        if (integer(container, "pid") != ownPid_ ||
            !text(container, "name").starts_with(kwin::kShieldTitlePrefix)) {
            lastFocused_ = number;
        }
        // The gap of one round trip that sway leaves: the keyboard goes back to the shield.
        if (locked_.contains(number)) {
            keepKeyboardAway(number);
        }
    } else if (change == "new") {
        // A new window of a locked process is not drawn before Velmora decides.
        const ProcessId pid = integer(container, "pid");
        for (const WindowNumber locked : locked_) {
            const kwin::Window* window = this->window(locked);
            if (window && window->pid == pid && pid != ownPid_) {
                lock(number);
                break;
            }
        }
    }
    refresh();
}

void SwayBridge::treeArrived(const nlohmann::json& json) {
    if (!json.is_object()) {
        return;
    }
    Tree tree;
    collect(json, false, ownPid_, tree);
    for (auto& [number, window] : tree.windows) {
        window.locked = locked_.contains(number);
    }
    std::erase_if(locked_, [&](WindowNumber n) { return !tree.windows.contains(n); });
    std::erase_if(beingHidden_, [&](WindowNumber n) {
        const auto found = tree.windows.find(n);
        return found == tree.windows.end() || found->second.minimized;
    });
    windows_ = std::move(tree.windows);
    treeKnown_ = true;
    focused_ = tree.focused;
    const kwin::Window* focusedWindow = focused_ ? window(*focused_) : nullptr;
    if (focusedWindow && !focusedWindow->shield) {
        lastFocused_ = focused_;
    }
    adoptShields(tree.titles);
    const auto previous = active_;
    const auto placed = [&](WindowNumber number) {
        return std::any_of(placed_.begin(), placed_.end(),
                           [&](const auto& entry) { return shield(entry.first) == number; });
    };
    if (!focusedWindow || !focusedWindow->shield) {
        active_ = focusedWindow ? focused_ : std::nullopt;
    } else if (!placed(*focused_)) {
        // A parked shield may keep the keyboard once the window it shielded is hidden: no
        // window of the person's has it then.
        active_ = std::nullopt;
    } else if (lastFocused_ && windows_.contains(*lastFocused_)) {
        // The keyboard handed to a shield leaves the window that took it the active one, even
        // when it was handed over before this tree was read.
        active_ = lastFocused_;
    }
    windowsChanged_.emit();
    if (active_ != previous) {
        activated_.emit();
    }
}

void SwayBridge::adoptShields(const std::map<WindowNumber, std::string>& titles) {
    std::map<QString, WindowNumber> shields;
    for (const auto& [number, title] : titles) {
        if (windows_.at(number).shield) {
            shields[QString::fromStdString(title)] = number;
        }
    }
    for (const auto& [token, number] : shields) {
        if (shields_.contains(token)) {
            continue;
        }
        shields_[token] = number;
        if (const auto pending = pending_.find(token); pending != pending_.end()) {
            const Placement placement = pending->second;
            pending_.erase(pending);
            place(token, placement);
        } else if (!placed_.contains(token)) {
            // sway gives a new window the keyboard: a parked one hands it back, unless to a
            // locked window.
            if (focused_ == number && lastFocused_ && windows_.contains(*lastFocused_) &&
                !locked_.contains(*lastFocused_)) {
                command(*lastFocused_, "focus");
            }
        }
    }
    std::erase_if(shields_, [&](const auto& entry) { return !shields.contains(entry.first); });
}

void SwayBridge::send(QVariantMap command) {
    if (command.value(QStringLiteral("op")) == QLatin1String("hide")) {
        beingHidden_.insert(numberIn(command, "number"));
    }
    queued_.push_back(std::move(command));
    if (!std::exchange(sendingScheduled_, true)) {
        runLoop_->post(lifetime_.guard([this] { sendCommands(); }));
    }
}

void SwayBridge::sendCommands() {
    if (beforeSending_) {
        beforeSending_();
    }
    sendingScheduled_ = false;
    const auto commands = std::exchange(queued_, {});
    const auto provisional = provisional_;
    for (const QVariantMap& command : commands) {
        run(command);
    }
    // A cover placed before Velmora knew gives way to what Velmora decided.
    if (!commands.empty()) {
        for (const QString& token : provisional) {
            if (provisional_.contains(token)) {
                park(token);
            }
        }
    }
    raiseCards();
}

void SwayBridge::run(const QVariantMap& command) {
    const QString op = command.value(QStringLiteral("op")).toString();
    const WindowNumber number = numberIn(command, "number");
    if (op == QLatin1String("place")) {
        const auto value = [&](const char* key) {
            return command.value(QLatin1String(key)).toDouble();
        };
        place(command.value(QStringLiteral("token")).toString(),
              {numberIn(command, "over"),
               {value("x"), value("y"), value("width"), value("height")},
               command.value(QStringLiteral("card")).toBool()});
    } else if (op == QLatin1String("park")) {
        park(command.value(QStringLiteral("token")).toString());
    } else if (op == QLatin1String("release")) {
        release(number);
    } else if (op == QLatin1String("activate")) {
        this->command(number, "focus");
    } else if (op == QLatin1String("hide")) {
        lock(number);
        this->command(number, "move scratchpad");
    } else if (op == QLatin1String("goodbye")) {
        for (const WindowNumber locked : std::set(locked_)) {
            release(locked);
        }
    }
    // "protect" needs nothing here: velmora-guard hides those processes if Velmora vanishes.
}

void SwayBridge::place(const QString& token, const Placement& placement) {
    const auto number = shield(token);
    if (!number) {
        pending_[token] = placement;
        return;
    }
    provisional_.erase(token);
    placed_[token] = placement;
    const Rect& frame = placement.frame;
    command(*number, "floating enable, sticky enable, border none, resize set width " +
                         std::to_string(static_cast<int>(frame.width)) + " px height " +
                         std::to_string(static_cast<int>(frame.height)) +
                         " px, move absolute position " +
                         std::to_string(static_cast<int>(frame.x)) + " " +
                         std::to_string(static_cast<int>(frame.y)));
    if (placement.over == 0 || !window(placement.over)) {
        return;
    }
    if (!placement.card) {
        lastCover_[placement.over] = token;
    }
    lock(placement.over);
    if (focused_ == placement.over) {
        keepKeyboardAway(placement.over);
    }
}

void SwayBridge::park(const QString& token) {
    pending_.erase(token);
    provisional_.erase(token);
    placed_.erase(token);
    if (const auto number = shield(token)) {
        command(*number, kParked);
    }
}

void SwayBridge::lock(WindowNumber number) {
    if (locked_.insert(number).second) {
        command(number, "opacity 0");
    }
}

void SwayBridge::release(WindowNumber number) {
    if (locked_.erase(number) > 0) {
        command(number, "opacity 1");
    }
    for (const QString& token : std::set(provisional_)) {
        if (placed_.contains(token) && placed_.at(token).over == number) {
            park(token);
        }
    }
}

void SwayBridge::keepKeyboardAway(WindowNumber number) {
    if (const auto shield = shieldOver(number)) {
        command(*shield, "focus");
        return;
    }
    // Brought forward before Velmora has heard of it: covered at once by the cover it had
    // last, which Velmora's next commands confirm or put away.
    const auto last = lastCover_.find(number);
    const kwin::Window* target = window(number);
    if (last == lastCover_.end() || !target || placed_.contains(last->second) ||
        !shield(last->second)) {
        return;
    }
    const QString token = last->second;
    place(token, {number, target->frame, false});
    provisional_.insert(token);
    if (const auto cover = shield(token)) {
        command(*cover, "focus");
    }
}

// A card takes the keyboard unless another window than the one it shields has it (Velmora's
// prompt).
void SwayBridge::raiseCards() {
    const kwin::Window* focused = focused_ ? window(*focused_) : nullptr;
    for (const auto& [token, placement] : placed_) {
        const auto card = shield(token);
        if (!placement.card || !card || focused_ == card) {
            continue;
        }
        if (!focused || focused->shield || focused->number == placement.over) {
            command(*card, "focus");
        }
    }
}

std::optional<WindowNumber> SwayBridge::shield(const QString& token) const {
    const auto found = shields_.find(token);
    return found == shields_.end() ? std::nullopt : std::optional{found->second};
}

std::optional<WindowNumber> SwayBridge::shieldOver(WindowNumber number) const {
    std::optional<WindowNumber> found;
    for (const auto& [token, placement] : placed_) {
        if (placement.over != number) {
            continue;
        }
        if (const auto shield = this->shield(token)) {
            if (placement.card) {
                return shield;
            }
            found = shield;
        }
    }
    return found;
}

void SwayBridge::command(WindowNumber number, const std::string& commands) {
    command("[con_id=" + std::to_string(number) + "] " + commands);
}

void SwayBridge::command(const std::string& text) {
    ipc_->runCommand(text, [logger = logger_, text](const nlohmann::json& reply) {
        const bool done = reply.is_array() &&
                          std::all_of(reply.begin(), reply.end(), [](const nlohmann::json& result) {
                              return result.value("success", false);
                          });
        if (!done && logger) {
            logger->warn("sway refused \"" + text + "\": " + reply.dump());
        }
    });
}

void SwayBridge::shutDown() {
    for (const WindowNumber locked : std::set(locked_)) {
        release(locked);
    }
}

} // namespace velmora
