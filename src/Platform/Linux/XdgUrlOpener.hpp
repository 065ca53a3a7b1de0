#pragma once

#include "Platform/UrlOpening.hpp"

#include <string>

namespace velmora {

/// Opens URLs with the desktop's preferred application through `xdg-open`, started detached
/// so the program never waits for it.
///
///     XdgUrlOpener urls;
///     urls.open("https://example.org/support");
///
/// Only absolute URLs are handed over, as one argument and never through a shell. True means
/// the opener started; whether an application handles the scheme is up to the desktop.
class XdgUrlOpener final : public UrlOpening {
public:
    /// `opener` is the program to run, `xdg-open` through PATH by default.
    explicit XdgUrlOpener(std::string opener = "xdg-open");

    bool open(const std::string& url) override;

private:
    std::string opener_;
};

} // namespace velmora
