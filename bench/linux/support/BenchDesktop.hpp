#pragma once

#include "harness/TestDesktop.hpp"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::bench {

/// An application of the benchmark session: the test client under an identity of its own,
/// installed with a desktop entry.
struct BenchApp {
    std::string id;
    std::string name;
    std::string wmClass;
    bool isProtected = true;
};

/// A list of three protected applications, for the benchmarks that weigh Velmora with one.
inline const std::vector<BenchApp> kThreeProtectedApps{
    {"org.velmora.BenchNotes", "Bench Notes", "BenchNotes"},
    {"org.velmora.BenchMail", "Bench Mail", "BenchMail"},
    {"org.velmora.BenchPhotos", "Bench Photos", "BenchPhotos"},
};

/// How many windows a client opens, each 30 px right of and below the one before, and
/// whether the later ones are transient for the first.
struct ClientWindows {
    int count = 1;
    bool transient = false;
};

/// How the benchmark's session looks beside its applications.
struct BenchSession {
    /// Whether openbox animates iconifying and restoring windows.
    bool windowAnimations = true;
    /// A system tray for Velmora's icon; without one Velmora shows its panel as a window.
    bool trayHost = false;
};

/// A private desktop (Xvfb, openbox, XDG directories, PAM) with the real Velmora program,
/// for benchmarks that time or weigh the program from outside.
///
///     BenchDesktop desktop({{"org.velmora.Notes", "Notes", "BenchNotes"}});
///     desktop.startVelmora();
///     auto window = desktop.launch(app, "480x360+300+200", e2e::Rgb::fromHex(0xff00ff));
///     auto overlay = desktop.waitForOverlayOver(window);
class BenchDesktop {
public:
    /// Throws std::runtime_error, saying what is missing, when the session cannot start.
    explicit BenchDesktop(const std::vector<BenchApp>& apps, BenchSession session = {});

    /// The program beside the benchmarks, else $VELMORA_BENCH_PROGRAM.
    [[nodiscard]] static std::filesystem::path program();

    /// Starts Velmora and waits until it has judged its permissions; throws when it does not.
    void startVelmora();
    /// Starts a test client as `app` and waits for one of its windows.
    e2e::WindowInfo launch(const BenchApp& app, const std::string& geometry, e2e::Rgb color,
                           ClientWindows windows = {});
    [[nodiscard]] bool isVelmoraWindow(const e2e::WindowInfo& window) const;
    /// Velmora's viewable override-redirect window above `window`'s frame, once there is one.
    [[nodiscard]] std::optional<e2e::WindowInfo>
    waitForOverlayOver(const e2e::WindowInfo& window,
                       std::chrono::milliseconds timeout = std::chrono::seconds{5});

    [[nodiscard]] e2e::TestDesktop& desktop() { return *desktop_; }
    [[nodiscard]] e2e::VelmoraProcess& velmora() { return *velmora_; }
    [[nodiscard]] std::string display() const;

private:
    std::unique_ptr<e2e::TestDesktop> desktop_;
    std::unique_ptr<e2e::VelmoraProcess> velmora_;
    std::vector<std::unique_ptr<e2e::TestClientProcess>> clients_;
};

} // namespace velmora::bench
