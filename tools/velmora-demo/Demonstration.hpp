#pragma once

#include "harness/TestDesktop.hpp"
#include "harness/VelmoraWindows.hpp"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velmora::demo {

/// Velmora at work on a private desktop, told step by step: its panel, its settings window
/// brought by a second start, and a protected application covered, unlocked with the
/// owner's password, locked again with "Lock All" and covered again. Screenshots go to
/// `folder`.
///
///     Demonstration demonstration(program, folder, std::cout);
///     bool everyStepHappened = demonstration.run();
class Demonstration {
public:
    Demonstration(std::filesystem::path program, std::filesystem::path folder, std::ostream& out);
    Demonstration(const Demonstration&) = delete;
    Demonstration& operator=(const Demonstration&) = delete;

    /// Runs the steps in order until one does not happen; answers whether all did.
    bool run();

private:
    struct Step {
        std::string action;
        std::function<bool()> perform;
    };

    bool startVelmora();
    bool startVelmoraAgain();
    bool startProtectedApplication();
    bool unlockWithPassword();
    bool lockAllFromPanel();
    bool bringBackCovered();

    [[nodiscard]] std::vector<Step> steps();
    [[nodiscard]] e2e::VelmoraWindows velmoraWindows();
    /// Velmora's panel, a normal window on a desktop without a tray.
    [[nodiscard]] std::optional<e2e::WindowInfo> panel();
    /// The row of `panel`'s "Add App" and "Lock All" buttons, once it is drawn.
    [[nodiscard]] std::optional<e2e::ScreenRect> addAppRow(const e2e::WindowInfo& panel);
    /// Whether an application row of `panel` shows a state badge with `fill`, now or soon.
    [[nodiscard]] bool showsBadge(const e2e::WindowInfo& panel, e2e::Rgb fill);
    /// Brings the application's window to the front and waits for the lock card over it;
    /// `when` and `timingNote` go into the sentence that tells it, `shot` names the screenshot.
    bool bringToFrontCovered(const std::string& when, const std::string& timingNote,
                             const std::string& shot);
    /// Writes the screen as `<folder>/<step>-<name>.png` and says so.
    void screenshot(const std::string& name);
    /// Says what happened, in a sentence of its own.
    void tell(const std::string& sentence);
    bool fail(const std::string& reason);
    /// Leaves the screen and Velmora's output in the folder after a failure.
    void keepEvidence();

    std::filesystem::path program_;
    std::filesystem::path folder_;
    std::ostream& out_;
    std::unique_ptr<e2e::TestDesktop> desktop_;
    std::unique_ptr<e2e::VelmoraProcess> velmora_;
    std::unique_ptr<e2e::TestClientProcess> application_;
    std::optional<e2e::WindowInfo> window_;
    std::optional<e2e::WindowInfo> overlay_;
    std::size_t step_ = 0;
    bool screenshotsMissing_ = false;
};

} // namespace velmora::demo
