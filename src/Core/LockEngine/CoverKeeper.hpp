#pragma once

#include "Platform/CoverWindows.hpp"
#include "Platform/Screens.hpp"
#include "Platform/WindowList.hpp"
#include "Support/Logging.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace velmora {

/// Keeps a plain cover over every on-screen window of every locked process, whether its
/// application is in front or not, each directly above its window so that the windows
/// stacked above that one stay above the cover. The lock card, where one is shown, lies on
/// top of the cover of its window.
///
///     auto keeper = CoverKeeper::create(collaborators, [&](ProcessId pid) { return locked(pid);
///     }); keeper->start();     // covers what is locked now, then follows the window server
///     keeper->refresh();   // after the set of locked processes changed
///     keeper->stop();      // every cover goes
///
/// Covers follow the window server's announcements: each turn of the main queue in which a
/// window mapped, moved, was restacked or changed desktop or state costs one look at the
/// list. Only where the server announces nothing is the list looked at on a timer. When
/// the server gives no list, the covers stay where they are. Main thread only.
class CoverKeeper final : public std::enable_shared_from_this<CoverKeeper> {
    struct Passkey {};

public:
    /// Whether the windows of a process are to be covered.
    using LockedProcess = std::function<bool(ProcessId)>;
    using LookObserver = std::function<void(const std::vector<WindowListEntry>&)>;

    struct Collaborators {
        std::shared_ptr<WindowListProviding> windowList;
        std::shared_ptr<ScreenProviding> screens;
        std::shared_ptr<CoverWindowFactory> coverWindows;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<Logging> logger;
    };

    static std::shared_ptr<CoverKeeper> create(Collaborators collaborators, LockedProcess isLocked);
    CoverKeeper(Passkey, Collaborators collaborators, LockedProcess isLocked);
    CoverKeeper(const CoverKeeper&) = delete;
    CoverKeeper& operator=(const CoverKeeper&) = delete;

    void start();
    void stop();
    /// Looks at the window list now; nothing while stopped.
    void refresh();

    /// Called with the list after every look that got one.
    [[nodiscard]] Subscription observeLooks(LookObserver observer) {
        return looked_.connect(std::move(observer));
    }
    /// The frame of the process's frontmost coverable window at the last look that saw one,
    /// in placement coordinates.
    [[nodiscard]] std::optional<Rect> lastKnownFrame(ProcessId pid) const;
    /// What is covered now, front to back.
    [[nodiscard]] std::vector<CoverPlacement> placements() const;

private:
    struct Cover {
        std::unique_ptr<CoverWindow> window;
        std::optional<CoverPlacement> placement;
        /// The numbered window in front of the covered one when the cover was placed: when
        /// another comes there, the covered window was restacked.
        std::optional<WindowNumber> inFront;
    };
    struct Wanted {
        CoverPlacement placement;
        std::optional<WindowNumber> inFront;
    };

    void scheduleRefresh();
    [[nodiscard]] std::vector<Wanted> wantedCovers(const std::vector<WindowListEntry>& windows);
    void place(const std::vector<Wanted>& wanted);
    Cover& coverFor(const CoverPlacement& placement, std::vector<bool>& taken);
    void hideAll();

    std::shared_ptr<WindowListProviding> windowList_;
    std::shared_ptr<ScreenProviding> screens_;
    std::shared_ptr<CoverWindowFactory> coverWindows_;
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<Logging> logger_;
    LockedProcess isLocked_;

    bool started_ = false;
    bool refreshPosted_ = false;
    Subscription changes_;
    TimerHandle poll_;
    std::vector<Cover> covers_;
    std::unordered_map<ProcessId, Rect> lastKnownFrames_;
    Signal<const std::vector<WindowListEntry>&> looked_;
};

} // namespace velmora
