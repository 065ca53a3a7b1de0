#pragma once

#include "Platform/CoverWindows.hpp"
#include "Platform/Sim/SimWindowServer.hpp"

#include <cstddef>
#include <memory>

namespace velmora {

/// A simulated cover: it takes its place in the simulated window server's stacking order.
class SimCoverWindow final : public CoverWindow {
public:
    /// `shown` counts the shows of every cover of one factory.
    SimCoverWindow(std::shared_ptr<SimWindowServer> server, SimWindowServer::CoverId id,
                   std::shared_ptr<std::size_t> shown);
    ~SimCoverWindow() override;
    SimCoverWindow(const SimCoverWindow&) = delete;
    SimCoverWindow& operator=(const SimCoverWindow&) = delete;

    void show(const CoverPlacement& placement) override;
    void hide() override;
    [[nodiscard]] bool isVisible() const override { return visible_; }

private:
    std::shared_ptr<SimWindowServer> server_;
    SimWindowServer::CoverId id_;
    std::shared_ptr<std::size_t> shown_;
    bool visible_ = false;
};

/// Makes simulated covers in one simulated window server, and counts them.
///
///     SimCoverWindowFactory covers(desktop.windowServer);
///     auto cover = covers.makeCover();
///     cover->show({number, frame, 0});
///     EXPECT_EQ(covers.shownCount(), 1u);
class SimCoverWindowFactory final : public CoverWindowFactory {
public:
    explicit SimCoverWindowFactory(std::shared_ptr<SimWindowServer> server);

    [[nodiscard]] std::unique_ptr<CoverWindow> makeCover() override;

    [[nodiscard]] std::size_t madeCount() const { return made_; }
    /// Every `show`, of every cover.
    [[nodiscard]] std::size_t shownCount() const { return *shown_; }

private:
    std::shared_ptr<SimWindowServer> server_;
    std::size_t made_ = 0;
    std::shared_ptr<std::size_t> shown_ = std::make_shared<std::size_t>(0);
};

} // namespace velmora
