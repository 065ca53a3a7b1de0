#include "Platform/Sim/SimCoverWindows.hpp"

namespace velmora {

SimCoverWindow::SimCoverWindow(std::shared_ptr<SimWindowServer> server, SimWindowServer::CoverId id,
                               std::shared_ptr<std::size_t> shown)
    : server_(std::move(server)), id_(id), shown_(std::move(shown)) {}

SimCoverWindow::~SimCoverWindow() {
    server_->removeCover(id_);
}

void SimCoverWindow::show(const CoverPlacement& placement) {
    server_->placeCover(id_, placement);
    visible_ = true;
    ++*shown_;
}

void SimCoverWindow::hide() {
    server_->removeCover(id_);
    visible_ = false;
}

SimCoverWindowFactory::SimCoverWindowFactory(std::shared_ptr<SimWindowServer> server)
    : server_(std::move(server)) {}

std::unique_ptr<CoverWindow> SimCoverWindowFactory::makeCover() {
    return std::make_unique<SimCoverWindow>(server_, ++made_, shown_);
}

} // namespace velmora
