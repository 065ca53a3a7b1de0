#pragma once

#include "Platform/ApplicationPicker.hpp"
#include "Support/RunLoop.hpp"

#include <memory>

namespace velmora {

/// The "Select an Application" open panel, started in /Applications, for one application
/// bundle. Main thread only.
class MacApplicationPicker final : public ApplicationPicker {
public:
    explicit MacApplicationPicker(std::shared_ptr<RunLoop> runLoop);
    void pickApplication(Completion completion) override;

private:
    std::shared_ptr<RunLoop> runLoop_;
};

} // namespace velmora
