#pragma once

#include <memory>

class QQmlEngine;
class QQuickView;

namespace velmora {

/// The settings window, "Velmora Settings", hosting the main content (MainContent.qml):
/// the permissions onboarding or the setup-complete note. It is as large as what it shows.
///
///     auto settings = std::make_unique<SettingsWindow>(engine);
///     settings->present();   // shown, in front, with the keyboard
class SettingsWindow {
public:
    explicit SettingsWindow(std::shared_ptr<QQmlEngine> engine);
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    /// Shows the window, or brings it forward over other programs' windows.
    void present();

    /// The Qt window, for tests and screenshots.
    [[nodiscard]] QQuickView& view() const { return *view_; }

private:
    std::shared_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickView> view_;
};

} // namespace velmora
