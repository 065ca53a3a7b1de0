#pragma once

#include "Core/LockEngine/LockEngine.hpp"
#include "Core/Overlay/OverlayContentView.hpp"
#include "Platform/Sim/SimDesktop.hpp"
#include "Services/AuthManager.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>

namespace velmora::testing {

inline constexpr const char* kNotes = "com.example.notes";
inline constexpr const char* kMail = "com.example.mail";
inline constexpr const char* kEditor = "com.example.editor"; // never protected
inline const Rect kNotesWindow{100, 100, 800, 600};          // window-server coordinates

/// A started engine on a simulated desktop with one display: Notes (protected, with a window)
/// and Editor (unprotected) are running, Editor in front. The window server announces its
/// changes, as X11 does.
class LockEngineTest : public ::testing::Test {
protected:
    LockEngineTest() {
        desktop.windowServer->setAnnouncesChanges(true);
        const Platform platform = desktop.platform(logger);
        appState = AppState::create(AppState::collaborators(platform));
        auto contexts = makeContextFactory(desktop.authenticator);
        engine = LockEngine::create(LockEngine::collaborators(
            platform, appState, std::make_shared<AuthManager>(desktop.loop, contexts),
            std::make_shared<OverlayWindowController>(logger, desktop.overlayWindows, contexts)));
        editor = desktop.launchApp(kEditor, "Editor", Rect{0, 0, 400, 300});
        notes = protect(kNotes, "Notes", kNotesWindow);
        desktop.activate(editor);
        engine->setupSystemEventObservers();
        engine->start();
        settle();
    }

    /// Launches and protects an application.
    ProcessId protect(const std::string& bundleId, const std::string& name,
                      std::optional<Rect> window) {
        appState->addApp(ProtectedApp::make(bundleId, name, desktop.loop->now()));
        return desktop.launchApp(bundleId, name, window);
    }

    /// Longer than the debounce; lets every pending step run.
    void settle() { desktop.loop->advance(Seconds{1}); }

    /// The visible overlay showing the card of `name`, or null.
    SimOverlayWindow* overlay(const std::string& name) const {
        for (const auto& window : desktop.overlayWindows->windows()) {
            if (window->isVisible() && window->content()->appName() == name) {
                return window.get();
            }
        }
        return nullptr;
    }

    void answer(SimAuthenticator::Outcome outcome) {
        desktop.authenticator->queueOutcome(std::move(outcome));
        desktop.loop->runUntilIdle();
    }

    /// Brings Notes to the front and unlocks it through its overlay.
    void unlockNotes() {
        desktop.activate(notes);
        ASSERT_NE(overlay("Notes"), nullptr);
        overlay("Notes")->pressUnlock();
        desktop.loop->runUntilIdle();
        answer(SimAuthenticator::Outcome::succeed());
    }

    [[nodiscard]] const LockState& machineState() { return engine->stateMachine().currentState(); }

    SimDesktop desktop;
    std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();
    std::shared_ptr<AppState> appState;
    std::shared_ptr<LockEngine> engine;
    ProcessId editor = 0;
    ProcessId notes = 0;
};

} // namespace velmora::testing
