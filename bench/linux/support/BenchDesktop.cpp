#include "support/BenchDesktop.hpp"

#include "harness/Eventually.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace velmora::bench {
namespace {

constexpr const char* kPermissionsJudged = "[Brevane] Accessibility permission changed: ";

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

e2e::TestDesktop::Options sessionFor(const std::vector<BenchApp>& apps, BenchSession session) {
    e2e::TestDesktop::Options options{.windowAnimations = session.windowAnimations,
                                      .trayHost = session.trayHost};
    for (const BenchApp& app : apps) {
        options.applications.push_back({.id = app.id,
                                        .name = app.name,
                                        .exec = e2e::TestClientProcess::program().string(),
                                        .startupWmClass = app.wmClass});
        if (app.isProtected) {
            options.protectedApps.push_back({.bundleIdentifier = app.id, .displayName = app.name});
        }
    }
    return options;
}

} // namespace

BenchDesktop::BenchDesktop(const std::vector<BenchApp>& apps, BenchSession session) {
    if (!std::filesystem::exists(program())) {
        throw std::runtime_error("velmora is not built (expected at " + program().string() + ")");
    }
    if (!e2e::PamService::available()) {
        throw std::runtime_error("pam_wrapper is not installed");
    }
    desktop_ = std::make_unique<e2e::TestDesktop>(sessionFor(apps, session));
}

std::filesystem::path BenchDesktop::program() {
    const char* chosen = std::getenv("VELMORA_BENCH_PROGRAM");
    return chosen && *chosen ? chosen : VELMORA_PROGRAM;
}

std::string BenchDesktop::display() const {
    for (const auto& [name, value] : desktop_->environment()) {
        if (name == "DISPLAY") {
            return value;
        }
    }
    return {};
}

void BenchDesktop::startVelmora() {
    velmora_ = desktop_->startVelmora(program());
    if (!velmora_->waitForOutput(kPermissionsJudged)) {
        throw std::runtime_error("velmora did not report its permissions\n" + velmora_->report());
    }
    if (!desktop_->hasTrayHost() && !desktop_->waitForManagedWindowOf(velmora_->pid())) {
        throw std::runtime_error("velmora did not open its panel window\n" + velmora_->report());
    }
}

e2e::WindowInfo BenchDesktop::launch(const BenchApp& app, const std::string& geometry,
                                     e2e::Rgb color, ClientWindows windows) {
    clients_.push_back(desktop_->launchClient(app.name, {.color = color,
                                                         .appId = app.id,
                                                         .wmInstance = lowercase(app.wmClass),
                                                         .wmClass = app.wmClass,
                                                         .geometry = geometry,
                                                         .windows = windows.count,
                                                         .transient = windows.transient}));
    const e2e::TestClientProcess& client = *clients_.back();
    if (!client.waitUntilReady()) {
        throw std::runtime_error("the test client " + app.name + " did not map its window");
    }
    std::optional<e2e::WindowInfo> window;
    e2e::eventually([&] {
        window = desktop_->display().find(
            [&](const e2e::WindowInfo& info) { return info.pid == client.pid() && info.viewable; });
        return window.has_value();
    });
    if (!window) {
        throw std::runtime_error("no window of the test client " + app.name + " on the screen");
    }
    return *window;
}

bool BenchDesktop::isVelmoraWindow(const e2e::WindowInfo& window) const {
    return window.pid == velmora_->pid() || lowercase(window.className) == "velmora";
}

std::optional<e2e::WindowInfo> BenchDesktop::waitForOverlayOver(const e2e::WindowInfo& window,
                                                                std::chrono::milliseconds timeout) {
    std::optional<e2e::WindowInfo> overlay;
    e2e::eventually(
        [&] {
            overlay = desktop_->display().overlayOver(
                window.window, [&](const e2e::WindowInfo& info) { return isVelmoraWindow(info); });
            return overlay.has_value();
        },
        timeout);
    return overlay;
}

} // namespace velmora::bench
