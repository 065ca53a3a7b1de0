#pragma once

#include "Platform/MainBundle.hpp"

namespace velmora {

/// The simulated program's bundle; any part can be left out.
///
///     SimMainBundle bundle({.bundleIdentifier = "com.tovren.velmora",
///                           .bundlePath = "/Applications/Velmora.app",
///                           .executablePath = std::nullopt});
class SimMainBundle final : public MainBundle {
public:
    struct Contents {
        std::optional<std::string> bundleIdentifier = "com.tovren.velmora";
        std::optional<std::string> bundlePath = "/Applications/Velmora.app";
        std::optional<std::string> executablePath =
            "/Applications/Velmora.app/Contents/MacOS/Velmora";
    };

    SimMainBundle() = default;
    explicit SimMainBundle(Contents contents) : contents_(std::move(contents)) {}

    [[nodiscard]] std::optional<std::string> bundleIdentifier() const override {
        return contents_.bundleIdentifier;
    }
    [[nodiscard]] std::optional<std::string> bundlePath() const override {
        return contents_.bundlePath;
    }
    [[nodiscard]] std::optional<std::string> executablePath() const override {
        return contents_.executablePath;
    }

private:
    Contents contents_;
};

} // namespace velmora
