#include "Models/FrontmostAppMonitor.hpp"

namespace velmora {

namespace {
constexpr const char* kUnknown = "Unknown";
} // namespace

std::shared_ptr<FrontmostAppMonitor>
FrontmostAppMonitor::create(std::shared_ptr<WorkspaceProviding> workspaceProvider) {
    return std::make_shared<FrontmostAppMonitor>(Passkey{}, std::move(workspaceProvider));
}

FrontmostAppMonitor::FrontmostAppMonitor(Passkey,
                                         std::shared_ptr<WorkspaceProviding> workspaceProvider)
    : workspaceProvider_(std::move(workspaceProvider)) {}

const FrontmostAppInfo& FrontmostAppMonitor::currentAppInfo() const {
    return currentAppInfo_.get();
}

Subscription FrontmostAppMonitor::currentAppInfoPublisher(Subscriber subscriber) {
    return currentAppInfo_.subscribe(std::move(subscriber));
}

void FrontmostAppMonitor::startMonitoring() {
    if (isMonitoring_) {
        return;
    }
    isMonitoring_ = true;
    refresh();
    notificationSubscription_ = workspaceProvider_->observeDidActivateApplication(
        [weak = weak_from_this()](const std::optional<RunningApplication>& app) {
            if (auto self = weak.lock()) {
                self->handleActivation(app);
            }
        });
}

void FrontmostAppMonitor::stopMonitoring() {
    if (!isMonitoring_) {
        return;
    }
    isMonitoring_ = false;
    notificationSubscription_.reset();
}

void FrontmostAppMonitor::refresh() {
    if (auto app = workspaceProvider_->frontmostApplication()) {
        apply(*app);
    } else {
        publish(FrontmostAppInfo::unknown());
    }
}

void FrontmostAppMonitor::handleActivation(const std::optional<RunningApplication>& app) {
    if (app) {
        apply(*app);
    } else {
        refresh();
    }
}

void FrontmostAppMonitor::apply(const RunningApplication& app) {
    const std::string bundleIdentifier = app.bundleIdentifier.value_or(kUnknown);
    publish({
        .bundleIdentifier = bundleIdentifier,
        .processIdentifier = app.processIdentifier,
        .appName = app.localizedName.value_or(bundleIdentifier),
    });
}

void FrontmostAppMonitor::publish(FrontmostAppInfo info) {
    if (info != currentAppInfo_.get()) {
        currentAppInfo_.set(std::move(info));
    }
}

} // namespace velmora
