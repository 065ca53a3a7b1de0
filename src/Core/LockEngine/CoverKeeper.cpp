#include "Core/LockEngine/CoverKeeper.hpp"

#include "Core/LockEngine/LockEngineWindows.hpp"
#include "Support/Lifetime.hpp"

#include <algorithm>
#include <utility>

namespace velmora {

using lockengine::coverableWindow;
using lockengine::isCoverable;
using lockengine::placementFrame;
using lockengine::primaryScreenHeight;

namespace {

/// How soon a change is covered where the window server announces nothing.
constexpr Seconds kPollInterval{0.25};

} // namespace

std::shared_ptr<CoverKeeper> CoverKeeper::create(Collaborators collaborators,
                                                 LockedProcess isLocked) {
    return std::make_shared<CoverKeeper>(Passkey{}, std::move(collaborators), std::move(isLocked));
}

CoverKeeper::CoverKeeper(Passkey, Collaborators collaborators, LockedProcess isLocked)
    : windowList_(std::move(collaborators.windowList)), screens_(std::move(collaborators.screens)),
      coverWindows_(std::move(collaborators.coverWindows)),
      runLoop_(std::move(collaborators.runLoop)), logger_(std::move(collaborators.logger)),
      isLocked_(std::move(isLocked)) {}

void CoverKeeper::start() {
    if (started_) {
        return;
    }
    started_ = true;
    changes_ =
        windowList_->observeChanges(ifAlive(weak_from_this(), &CoverKeeper::scheduleRefresh));
    if (!windowList_->announcesChanges()) {
        poll_ = runLoop_->every(kPollInterval, ifAlive(weak_from_this(), &CoverKeeper::refresh));
    }
    refresh();
}

void CoverKeeper::stop() {
    started_ = false;
    changes_.reset();
    poll_.invalidate();
    hideAll();
    lastKnownFrames_.clear();
}

void CoverKeeper::scheduleRefresh() {
    // A storm of changes costs one look per turn of the loop.
    if (std::exchange(refreshPosted_, true)) {
        return;
    }
    runLoop_->post(ifAlive(weak_from_this(), [](CoverKeeper& self) {
        self.refreshPosted_ = false;
        self.refresh();
    }));
}

void CoverKeeper::refresh() {
    if (!started_) {
        return;
    }
    // Without a list nothing is known to have moved away: the covers stay.
    const auto windows = windowList_->onScreenWindows();
    if (!windows) {
        return;
    }
    place(wantedCovers(*windows));
    looked_.emit(*windows);
}

std::vector<CoverKeeper::Wanted>
CoverKeeper::wantedCovers(const std::vector<WindowListEntry>& windows) {
    const double primaryHeight = primaryScreenHeight(*screens_);
    std::unordered_map<ProcessId, bool> locked;
    std::vector<Wanted> wanted;
    std::optional<WindowNumber> inFront;
    for (const WindowListEntry& entry : windows) {
        if (isCoverable(entry)) {
            const auto [process, isNew] = locked.try_emplace(*entry.ownerPid, false);
            if (isNew) {
                process->second = isLocked_(*entry.ownerPid);
            }
            if (process->second) {
                wanted.push_back(
                    {{entry.number, placementFrame(entry, primaryHeight), *entry.layer}, inFront});
            }
        }
        if (entry.number) {
            inFront = entry.number;
        }
    }
    std::erase_if(lastKnownFrames_, [&](const auto& known) {
        const auto seen = locked.find(known.first);
        return seen != locked.end() ? !seen->second : !isLocked_(known.first);
    });
    for (const auto& [pid, isLocked] : locked) {
        if (const WindowListEntry* window = isLocked ? coverableWindow(windows, pid) : nullptr) {
            lastKnownFrames_[pid] = placementFrame(*window, primaryHeight);
        }
    }
    return wanted;
}

void CoverKeeper::place(const std::vector<Wanted>& wanted) {
    const std::size_t before = placements().size();
    std::vector<bool> taken(covers_.size(), false);
    // Back to front: covers that sit above no particular window end up in the list's order.
    for (auto it = wanted.rbegin(); it != wanted.rend(); ++it) {
        Cover& cover = coverFor(it->placement, taken);
        if (!cover.window->isVisible() || cover.placement != it->placement ||
            cover.inFront != it->inFront) {
            cover.window->show(it->placement);
            cover.placement = it->placement;
            cover.inFront = it->inFront;
        }
    }
    for (std::size_t i = 0; i < covers_.size(); ++i) {
        if (!taken[i] && covers_[i].placement) {
            covers_[i].window->hide();
            covers_[i].placement.reset();
        }
    }
    if (wanted.size() != before) {
        logger_->debug("Covering " + std::to_string(wanted.size()) +
                       " windows of locked applications");
    }
}

CoverKeeper::Cover& CoverKeeper::coverFor(const CoverPlacement& placement,
                                          std::vector<bool>& taken) {
    // The same window keeps its cover, so that following it moves nothing else.
    const auto sameWindow = [&](const Cover& cover) {
        return cover.placement && (placement.above ? cover.placement->above == placement.above
                                                   : *cover.placement == placement);
    };
    std::optional<std::size_t> chosen;
    for (std::size_t i = 0; i < covers_.size() && !chosen; ++i) {
        if (!taken[i] && sameWindow(covers_[i])) {
            chosen = i;
        }
    }
    for (std::size_t i = 0; i < covers_.size() && !chosen; ++i) {
        if (!taken[i] && !covers_[i].placement) {
            chosen = i;
        }
    }
    if (!chosen) {
        covers_.push_back({coverWindows_->makeCover(), std::nullopt, std::nullopt});
        taken.push_back(false);
        chosen = covers_.size() - 1;
    }
    taken[*chosen] = true;
    return covers_[*chosen];
}

void CoverKeeper::hideAll() {
    for (Cover& cover : covers_) {
        if (cover.placement) {
            cover.window->hide();
            cover.placement.reset();
        }
    }
}

std::optional<Rect> CoverKeeper::lastKnownFrame(ProcessId pid) const {
    const auto known = lastKnownFrames_.find(pid);
    if (known == lastKnownFrames_.end()) {
        return std::nullopt;
    }
    return known->second;
}

std::vector<CoverPlacement> CoverKeeper::placements() const {
    std::vector<CoverPlacement> shown;
    for (const Cover& cover : covers_) {
        if (cover.placement) {
            shown.push_back(*cover.placement);
        }
    }
    return shown;
}

} // namespace velmora
