#pragma once

#include "Platform/UrlOpening.hpp"

#include <vector>

namespace velmora {

/// Opens nothing; remembers every URL it was handed.
///
///     SimUrlOpener urls;
///     urls.setRefusing(true);   // as when no application handles the URL
class SimUrlOpener final : public UrlOpening {
public:
    bool open(const std::string& url) override {
        requested_.push_back(url);
        return !refusing_;
    }

    void setRefusing(bool refusing) { refusing_ = refusing; }
    /// Every URL handed over, in order, refused or not.
    [[nodiscard]] const std::vector<std::string>& requested() const { return requested_; }

private:
    std::vector<std::string> requested_;
    bool refusing_ = false;
};

} // namespace velmora
