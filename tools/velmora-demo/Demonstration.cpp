#include "Demonstration.hpp"

#include "Views/MenuBarDropdownStyle.hpp"
#include "Views/ViewPalette.hpp"
#include "harness/Eventually.hpp"

#include <fstream>

namespace velmora::demo {
namespace {

using namespace std::chrono_literals;
using e2e::Rgb;
using e2e::WindowInfo;
using Clock = std::chrono::steady_clock;
using Style = MenuBarDropdownStyle;

constexpr const char* kApplicationName = "Test Client";
constexpr Rgb kApplicationColor = Rgb::fromHex(0xff00ff);

constexpr Rgb rgb(Color color) {
    return Rgb::fromUnit(color.red, color.green, color.blue);
}

constexpr Rgb kAddAppFill = rgb(ViewPalette::accentFill);
constexpr Rgb kLockedBadgeFill = rgb(ViewPalette::accentFill);
constexpr Rgb kUnlockedBadgeFill = rgb(ViewPalette::unlockedFill);
// Narrower than an application row's state badge.
constexpr int kBadgeMinimumWidth = 30;
constexpr auto kCoverTimeout = 5s;
// Setup is complete on this desktop: the settings window closes itself after 2 s.
constexpr auto kSettingsCloseTimeout = 4s;
constexpr std::uint32_t kIconicState = 3;

long long milliseconds(Clock::duration duration) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
}

} // namespace

Demonstration::Demonstration(std::filesystem::path program, std::filesystem::path folder,
                             std::ostream& out)
    : program_(std::move(program)), folder_(std::move(folder)), out_(out) {}

std::vector<Demonstration::Step> Demonstration::steps() {
    return {
        {"Velmora starts, with Test Client on its list of protected applications.",
         [this] { return startVelmora(); }},
        {"Velmora is started a second time, as from the application menu.",
         [this] { return startVelmoraAgain(); }},
        {"Test Client starts and comes to the front.",
         [this] { return startProtectedApplication(); }},
        {"The owner clicks \"Unlock with Password\" on the lock card and types the password.",
         [this] { return unlockWithPassword(); }},
        {"The owner brings Velmora's panel forward and clicks its \"Lock All\" button.",
         [this] { return lockAllFromPanel(); }},
        {"Test Client is brought to the front again.", [this] { return bringBackCovered(); }},
    };
}

bool Demonstration::run() {
    const auto started = Clock::now();
    try {
        desktop_ = std::make_unique<e2e::TestDesktop>(e2e::TestDesktop::Options{
            .protectedApps = {{.bundleIdentifier = "org.velmora.TestClient",
                               .displayName = kApplicationName}},
            .applications = {{.id = "org.velmora.TestClient",
                              .name = kApplicationName,
                              .exec = e2e::TestClientProcess::program().string(),
                              .startupWmClass = e2e::TestClientProcess::Options{}.wmClass}}});
    } catch (const std::exception& error) {
        out_ << "No private X display could be started: " << error.what() << "\n";
        return false;
    }
    const e2e::ScreenRect screen = desktop_->display().rootRect();
    out_ << "A private X display " << desktop_->displayName() << " (Xvfb, " << screen.width << "x"
         << screen.height << ", with the openbox window manager) and a home of its own.\n"
         << "The owner's password there is \"" << e2e::TestDesktop::kPassword
         << "\", checked by PAM through pam_wrapper.\n\n";

    const auto all = steps();
    for (step_ = 1; step_ <= all.size(); ++step_) {
        out_ << step_ << ". " << all[step_ - 1].action << "\n" << std::flush;
        bool happened = false;
        try {
            happened = all[step_ - 1].perform();
        } catch (const std::exception& error) {
            happened = fail(error.what());
        }
        if (!happened) {
            out_ << "\nThe demonstration stopped at step " << step_ << ".\n";
            keepEvidence();
            return false;
        }
    }
    velmora_->stop();
    out_ << "\nAll " << all.size() << " steps happened, in "
         << std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started).count()
         << " s.\n";
    if (screenshotsMissing_) {
        out_ << "Some screenshots are missing.\n";
    }
    return !screenshotsMissing_;
}

bool Demonstration::startVelmora() {
    velmora_ = desktop_->startVelmora(program_);
    if (!velmora_->waitForOutput("[Brevane] Accessibility permission changed: ")) {
        std::string error = velmora_->standardError();
        error.erase(error.find_last_not_of(" \n") + 1);
        return fail("Velmora did not start: " + error);
    }
    if (velmora_->standardOutput().find("unknown -> granted") == std::string::npos) {
        return fail("Velmora found no window manager it can work with");
    }
    tell("It finds the window manager it needs and watches which application is in front.");
    if (!desktop_->waitForManagedWindowOf(velmora_->pid()) || !panel()) {
        return fail("Velmora showed no panel window");
    }
    if (!addAppRow(*panel())) {
        return fail("Velmora's panel did not draw its content");
    }
    if (!showsBadge(*panel(), kLockedBadgeFill)) {
        return fail("the panel does not list Test Client as locked");
    }
    tell("There is no system tray here, so it shows its panel as a window: Test Client is "
         "listed as locked.");
    screenshot("panel");
    return true;
}

bool Demonstration::startVelmoraAgain() {
    const auto second = desktop_->launch({program_.string()});
    if (!second->waitForExit(10s) || second->exitStatus() != 0) {
        return fail("the second Velmora did not hand over and exit");
    }
    tell("The second Velmora hands over to the running one and exits.");
    e2e::XDisplay& display = desktop_->display();
    const auto findSettings = [&] {
        return display.find([](const WindowInfo& window) {
            return window.title == "Velmora Settings" && window.viewable;
        });
    };
    const bool forward = e2e::eventually([&] {
        const auto settings = findSettings();
        return settings && display.isWithin(display.inputFocus(), settings->topLevel);
    });
    if (!forward) {
        return fail("no \"Velmora Settings\" window came forward");
    }
    tell("The running Velmora brings its settings window, \"Velmora Settings\", forward.");
    screenshot("settings");
    if (!e2e::eventually([&] { return !findSettings(); }, kSettingsCloseTimeout)) {
        return fail("the settings window did not close itself after showing that setup is "
                    "complete");
    }
    tell("Setup is complete, so the window closes itself after two seconds.");
    return true;
}

bool Demonstration::startProtectedApplication() {
    application_ = desktop_->launchClient(kApplicationName);
    if (!application_->waitUntilReady()) {
        return fail("Test Client did not show its window");
    }
    const int pid = application_->pid();
    window_ = desktop_->display().find([&](const WindowInfo& window) {
        return window.pid == pid && window.title == kApplicationName;
    });
    if (!window_) {
        return fail("Test Client's window is not on the screen");
    }
    return bringToFrontCovered("at once", "", "lock-card");
}

bool Demonstration::unlockWithPassword() {
    auto windows = velmoraWindows();
    const auto button = windows.waitForUnlockButton(*overlay_);
    if (!button) {
        return fail("the lock card shows no Unlock button");
    }
    desktop_->xdo().click(button->centerX(), button->centerY());
    if (!windows.waitForFocusedPrompt(*overlay_)) {
        return fail("no password prompt took the keyboard after the click on Unlock");
    }
    tell("Velmora's password prompt opens and takes the keyboard.");
    screenshot("password-prompt");
    windows.enterPassword(e2e::TestDesktop::kPassword);
    if (!windows.waitUntilUncovered(*overlay_, *window_, kApplicationColor)) {
        return fail("Test Client stayed covered after the password");
    }
    tell("PAM accepts the password: the card goes and Test Client shows again.");
    desktop_->xdo().key("w");
    if (!e2e::eventually([&] { return application_->countLines("key ") > 0; })) {
        return fail("a key typed into the unlocked Test Client did not reach it");
    }
    tell("A key typed now reaches Test Client: it is usable.");
    screenshot("unlocked");
    return true;
}

bool Demonstration::lockAllFromPanel() {
    const auto shown = panel();
    if (!shown || !desktop_->xdo().activate(shown->window)) {
        return fail("Velmora's panel window could not be brought forward");
    }
    const auto row = addAppRow(*shown);
    if (!row) {
        return fail("the panel shows no \"Add App\" button, beside which \"Lock All\" sits");
    }
    if (!showsBadge(*shown, kUnlockedBadgeFill)) {
        return fail("the panel does not list Test Client as unlocked");
    }
    tell("The panel lists Test Client as unlocked.");
    screenshot("panel-unlocked");
    // "Lock All" is the other button of that row, at the panel's right edge.
    const int right = shown->geometry.x + shown->geometry.width -
                      static_cast<int>(Style::horizontalPadding + Style::actionPaddingHorizontal);
    desktop_->xdo().click(right, row->centerY());
    const bool hidden = e2e::eventually([&] {
        const auto current = desktop_->display().window(window_->window);
        return current && !current->viewable &&
               desktop_->display().wmState(window_->window) == kIconicState;
    });
    if (!hidden) {
        return fail("Test Client was not locked and hidden after the click on \"Lock All\"");
    }
    if (!showsBadge(*shown, kLockedBadgeFill)) {
        return fail("the panel does not list Test Client as locked after \"Lock All\"");
    }
    tell("Velmora locks Test Client again and hides (iconifies) it; the panel lists it as "
         "locked.");
    screenshot("locked-all");
    return true;
}

bool Demonstration::bringBackCovered() {
    return bringToFrontCovered("again", ", the window's restore animation included",
                               "covered-again");
}

e2e::VelmoraWindows Demonstration::velmoraWindows() {
    return {*desktop_, velmora_->pid()};
}

std::optional<WindowInfo> Demonstration::panel() {
    const int pid = velmora_->pid();
    return desktop_->display().find([&](const WindowInfo& window) {
        return window.pid == pid && window.title == "Velmora" && window.viewable &&
               !window.overrideRedirect;
    });
}

std::optional<e2e::ScreenRect> Demonstration::addAppRow(const WindowInfo& panel) {
    // Along the panel's left edge nothing else has the accent fill of "Add App"; the panel
    // maps a moment before its content is drawn.
    const int strip = static_cast<int>(2 * Style::horizontalPadding);
    const e2e::ScreenRect edge{panel.geometry.x, panel.geometry.y, strip, panel.geometry.height};
    std::optional<e2e::ScreenRect> row;
    e2e::eventually([&] {
        row = desktop_->display().capture(edge).band(kAddAppFill,
                                                     static_cast<int>(Style::horizontalPadding));
        return row.has_value();
    });
    return row;
}

bool Demonstration::showsBadge(const WindowInfo& panel, Rgb fill) {
    // The state badges sit in the right half of the rows, away from "Add App".
    const e2e::ScreenRect right{panel.geometry.centerX(), panel.geometry.y,
                                panel.geometry.width / 2, panel.geometry.height};
    return e2e::eventually([&] {
        return desktop_->display().capture(right).band(fill, kBadgeMinimumWidth).has_value();
    });
}

bool Demonstration::bringToFrontCovered(const std::string& when, const std::string& timingNote,
                                        const std::string& shot) {
    const e2e::ScreenRect place = window_->frame;
    const auto activated = Clock::now();
    if (!desktop_->xdo().activate(window_->window)) {
        return fail("the window manager did not bring Test Client to the front");
    }
    // Coming back from being hidden, the window is animated to its place; its cover follows.
    std::optional<WindowInfo> current;
    const bool inPlace = e2e::eventually([&] {
        current = desktop_->display().window(window_->window);
        return current && current->viewable && current->frame == place;
    });
    if (!inPlace) {
        return fail("Test Client's window did not come back to its place");
    }
    window_ = current;
    auto windows = velmoraWindows();
    overlay_ = windows.waitForOverlayOver(*window_, kCoverTimeout);
    if (!overlay_) {
        return fail("Test Client was not covered within " + std::to_string(kCoverTimeout.count()) +
                    " s");
    }
    const auto covered = Clock::now() - activated;
    if (windows.shows(window_->frame, kApplicationColor)) {
        return fail("Test Client shows through its cover");
    }
    if (!windows.waitForUnlockButton(*overlay_)) {
        return fail("the cover over Test Client shows no lock card");
    }
    tell("Velmora covers it with the lock card " + when + " (within " +
         std::to_string(milliseconds(covered)) + " ms of the activation" + timingNote +
         "); nothing of Test Client shows.");
    screenshot(shot);
    return true;
}

void Demonstration::screenshot(const std::string& name) {
    const auto path = folder_ / (std::to_string(step_) + "-" + name);
    desktop_->display().saveScreenshot(path);
    std::filesystem::remove(path.string() + ".ppm");
    const std::string png = path.filename().string() + ".png";
    if (!std::filesystem::exists(folder_ / png)) {
        screenshotsMissing_ = true;
        tell("The screenshot " + png + " could not be written (is ImageMagick installed?).");
        return;
    }
    tell("Screenshot: " + png);
}

void Demonstration::tell(const std::string& sentence) {
    out_ << "   " << sentence << "\n" << std::flush;
}

bool Demonstration::fail(const std::string& reason) {
    out_ << "   FAILED: " << reason << ".\n";
    return false;
}

void Demonstration::keepEvidence() {
    screenshot("failure");
    if (velmora_) {
        velmora_->stop();
        std::ofstream(folder_ / "velmora-output.txt") << velmora_->report();
        out_ << "Velmora's output and log are in velmora-output.txt.\n";
    }
}

} // namespace velmora::demo
