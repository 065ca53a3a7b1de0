#pragma once

#include "Platform/Platform.hpp"
#include "Support/Observable.hpp"

#include <memory>
#include <optional>
#include <string>

namespace velmora {

class AppDelegate;

/// What starting Velmora takes on the desktop it was built for, around the start-up every
/// desktop shares (main.cpp). Each desktop has its own implementation file: the X11 session
/// with its guard on Linux, AppKit on macOS.
///
///     if (auto error = DesktopStartup::prepareSession()) { return fail(*error); }
///     QApplication application(argc, argv);
///     DesktopStartup startup;
///     instance.becomePrimary(handler, startup.replacesEndedInstance());
///     auto platform = startup.buildPlatform();        // startup.error() when none
///     installPlatform(std::move(*platform));
///     startup.platformInstalled();
///     startup.watch(delegate);                         // once it is the host's delegate
///     startup.launch(*delegate);
///     const int status = QApplication::exec();
///     startup.ended(*host);
class DesktopStartup {
public:
    /// Before the Qt application exists: why Velmora cannot run in this session, if it
    /// cannot; warnings go to the standard error. Chooses Qt's settings for the desktop.
    [[nodiscard]] static std::optional<std::string> prepareSession();

    /// After the Qt application exists.
    DesktopStartup();
    ~DesktopStartup();
    DesktopStartup(const DesktopStartup&) = delete;
    DesktopStartup& operator=(const DesktopStartup&) = delete;

    /// This start replaces a Velmora that ended without quitting: it takes the single
    /// instance's place rather than handing over to whatever answers there.
    [[nodiscard]] bool replacesEndedInstance() const;
    /// Whether a guard answers, which keeps protected applications out of reach should this
    /// Velmora die; while none does, Velmora covers them itself. Always true where no guard
    /// is needed (macOS).
    [[nodiscard]] Observable<bool>& guardAnswers();
    /// The desktop's services; none when the desktop cannot be reached.
    [[nodiscard]] std::optional<Platform> buildPlatform();
    /// Why `buildPlatform` made nothing.
    [[nodiscard]] const std::string& error() const;
    /// The platform built is installed: its log starts.
    void platformInstalled();
    /// Another Velmora runs and took the handover: this start ends here.
    void handedOver();
    /// The delegate now answers for the program; what keeps its protection up if the
    /// program dies starts watching it.
    void watch(const std::shared_ptr<AppDelegate>& delegate);
    /// Everything is in place; the event loop starts next.
    void launch(AppDelegate& delegate);
    /// The event loop has ended.
    void ended(const HostApplication& host);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace velmora
