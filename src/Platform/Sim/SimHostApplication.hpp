#pragma once

#include "Platform/HostApplication.hpp"

namespace velmora {

/// The simulated program itself: its bundle identifier and its windows.
class SimHostApplication final : public HostApplication {
public:
    explicit SimHostApplication(std::optional<std::string> bundleIdentifier = "com.tovren.velmora")
        : bundleIdentifier_(std::move(bundleIdentifier)) {}

    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override {
        return bundleIdentifier_;
    }
    [[nodiscard]] std::vector<AppWindow> windows() const override { return windows_; }

    /// Opens a window of the program and returns its id.
    int openWindow(AppWindowKind kind, bool visible = true) {
        windows_.push_back(AppWindow{nextId_, kind, visible, 0});
        return nextId_++;
    }
    void closeWindow(int id) {
        std::erase_if(windows_, [id](const AppWindow& w) { return w.id == id; });
    }

private:
    std::optional<std::string> bundleIdentifier_;
    std::vector<AppWindow> windows_;
    int nextId_ = 1;
};

} // namespace velmora
