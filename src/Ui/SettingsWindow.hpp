#pragma once

#include "Views/MainContentViewModel.hpp"

#include <memory>

class QQmlEngine;
class QQuickView;

namespace velmora {

class MainContentAdaptor;

/// The settings window, "Velmora Settings", hosting the main content (MainContent.qml):
/// the permissions onboarding or the setup-complete note. It is as large as what it shows.
///
///     auto settings = std::make_unique<SettingsWindow>(engine, collaborators);
///     settings->present();   // shown, in front, with the keyboard
///
/// The content's model closes this window when it asks to close the key window.
class SettingsWindow {
public:
    /// `collaborators.windows` is this window; whatever is given there is replaced.
    SettingsWindow(std::shared_ptr<QQmlEngine> engine,
                   MainContentViewModel::Collaborators collaborators);
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    /// Shows the window, or brings it forward over other programs' windows.
    void present();

    /// The Qt window, for tests and screenshots.
    [[nodiscard]] QQuickView& view() const { return *view_; }
    [[nodiscard]] MainContentViewModel& model() const { return *model_; }

private:
    std::shared_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickView> view_;
    std::shared_ptr<MainContentViewModel> model_;
};

} // namespace velmora
