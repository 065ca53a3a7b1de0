#include "Platform/Linux/LocalNotificationCenter.hpp"

namespace velmora {

LocalNotificationCenter::LocalNotificationCenter(std::shared_ptr<RunLoop> runLoop)
    : runLoop_(std::move(runLoop)), channels_(std::make_shared<Channels>()) {}

void LocalNotificationCenter::post(const std::string& name) {
    runLoop_->post([weak = std::weak_ptr<Channels>(channels_), name] {
        if (const auto channels = weak.lock()) {
            if (const auto it = channels->find(name); it != channels->end()) {
                it->second.emit();
            }
        }
    });
}

Subscription LocalNotificationCenter::addObserver(const std::string& name, Observer observer) {
    return (*channels_)[name].connect(std::move(observer));
}

} // namespace velmora
