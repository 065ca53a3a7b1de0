#include "Platform/Sim/SimNotificationCenter.hpp"

namespace velmora {

SimNotificationCenter::SimNotificationCenter(std::shared_ptr<RunLoop> runLoop)
    : runLoop_(std::move(runLoop)), channels_(std::make_shared<std::map<std::string, Signal<>>>()) {
}

void SimNotificationCenter::post(const std::string& name) {
    posted_.push_back(name);
    std::weak_ptr<std::map<std::string, Signal<>>> weak = channels_;
    runLoop_->post([weak, name] {
        if (auto channels = weak.lock()) {
            if (auto it = channels->find(name); it != channels->end()) {
                it->second.emit();
            }
        }
    });
}

Subscription SimNotificationCenter::addObserver(const std::string& name, Observer observer) {
    return (*channels_)[name].connect(std::move(observer));
}

std::size_t SimNotificationCenter::observerCount(const std::string& name) const {
    const auto it = channels_->find(name);
    return it == channels_->end() ? 0 : it->second.subscriberCount();
}

} // namespace velmora
