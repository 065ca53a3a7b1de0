#include "Services/PermissionsManager.hpp"

#include "Platform/Platform.hpp"
#include "Support/DateDescription.hpp"

#include <iostream>

namespace velmora {

namespace {

constexpr Seconds kPollInterval{1.0};
constexpr Seconds kInputMonitoringCheckDelay{1.0};
constexpr InputEventMask kProbeMask =
    inputEventMaskBit(InputEventType::leftMouseDown) | inputEventMaskBit(InputEventType::keyDown);
static_assert(kProbeMask == 1026);

std::string_view trueOrFalse(bool value) {
    return value ? "true" : "false";
}

std::string_view authorization(bool authorized) {
    return authorized ? "AUTHORIZED" : "NOT AUTHORIZED";
}

void print(const std::string& line) {
    std::cout << line << std::endl;
}

} // namespace

std::string_view rawValue(PermissionType type) {
    switch (type) {
    case PermissionType::accessibility:
        return "accessibility";
    case PermissionType::inputMonitoring:
        return "inputMonitoring";
    }
    return "accessibility";
}

std::string_view description(PermissionStatus status) {
    switch (status) {
    case PermissionStatus::granted:
        return "granted";
    case PermissionStatus::denied:
        return "denied";
    case PermissionStatus::unknown:
        return "unknown";
    }
    return "unknown";
}

std::string PermissionsManager::Diagnostics::formattedText() const {
    std::string text = "=== Velmora Diagnostics ===\nTimestamp: ";
    text += defaultDateDescription(timestamp);
    text += "\nBundle ID: " + bundleIdentifier;
    text += "\nBundle Path: " + bundlePath;
    text += "\nExecutable: " + executablePath;
    text += "\nAccessibility: ";
    text += authorization(accessibilityAuthorized);
    text += "\nInput Monitoring: ";
    text += authorization(inputMonitoringAuthorized);
    text += "\n===========================";
    return text;
}

std::shared_ptr<PermissionsManager> PermissionsManager::shared() {
    static const std::shared_ptr<PermissionsManager> instance = [] {
        const Platform& platform = installedPlatform();
        requirePlatformServices(platform.accessibility && platform.eventTaps &&
                                    platform.userDefaults && platform.hostApplication &&
                                    platform.urlOpener && platform.systemLog &&
                                    platform.mainBundle && platform.timeProvider,
                                "PermissionsManager");
        return create(collaborators(platform));
    }();
    return instance;
}

PermissionsManager::Collaborators PermissionsManager::collaborators(const Platform& platform) {
    return {
        .accessibility = platform.accessibility,
        .eventTaps = platform.eventTaps,
        .userDefaults = platform.userDefaults,
        .application = platform.hostApplication,
        .urlOpener = platform.urlOpener,
        .systemLog = platform.systemLog,
        .mainBundle = platform.mainBundle,
        .runLoop = platform.runLoop,
        .timeProvider = platform.timeProvider,
    };
}

std::shared_ptr<PermissionsManager> PermissionsManager::create(Collaborators collaborators) {
    auto manager = std::make_shared<PermissionsManager>(Passkey{}, std::move(collaborators));
    manager->checkPermissions();
    manager->appActivationObserver_ = manager->collaborators_.application->observeDidBecomeActive(
        [weak = manager->weak_from_this()] {
            if (auto self = weak.lock()) {
                self->checkPermissions();
            }
        });
    if (!manager->requiredPermissionsGranted_.get()) {
        manager->startPolling();
    }
    return manager;
}

PermissionsManager::PermissionsManager(Passkey, Collaborators collaborators)
    : collaborators_(std::move(collaborators)) {
    inputMonitoringCheckRequested_ =
        collaborators_.userDefaults->boolean(inputMonitoringGrantedKey).value_or(false);
}

PermissionsManager::~PermissionsManager() {
    if (pollTimer_) {
        pollTimer_->invalidate();
    }
}

void PermissionsManager::checkPermissions() {
    const PermissionStatus oldAccessibility = accessibilityStatus_.get();
    const bool oldRequired = requiredPermissionsGranted_.get();

    const bool trusted = collaborators_.accessibility->isProcessTrusted();
    PermissionStatus inputMonitoring = inputMonitoringStatus_.get();
    if (inputMonitoringCheckRequested_) {
        if (probeInputMonitoring()) {
            collaborators_.userDefaults->setBool(inputMonitoringGrantedKey, true);
            inputMonitoring = PermissionStatus::granted;
        } else {
            inputMonitoring = PermissionStatus::denied;
        }
    }
    const bool all = trusted && inputMonitoring == PermissionStatus::granted;

    const PermissionStatus accessibility =
        trusted ? PermissionStatus::granted : PermissionStatus::denied;
    if (accessibilityStatus_.get() != accessibility) {
        accessibilityStatus_.set(accessibility);
        print("[Brevane] Accessibility permission changed: " +
              std::string(description(oldAccessibility)) + " -> " +
              std::string(description(accessibility)));
    }
    if (inputMonitoringStatus_.get() != inputMonitoring) {
        inputMonitoringStatus_.set(inputMonitoring);
        print("[Brevane] Input Monitoring permission: " +
              std::string(description(inputMonitoring)));
    }
    if (requiredPermissionsGranted_.get() != trusted) {
        requiredPermissionsGranted_.set(trusted);
        print("[Brevane] Required permissions changed: " + std::string(trueOrFalse(oldRequired)) +
              " -> " + std::string(trueOrFalse(trusted)));
    }
    if (allPermissionsGranted_.get() != all) {
        allPermissionsGranted_.set(all);
    }
}

void PermissionsManager::requestInputMonitoring() {
    inputMonitoringCheckRequested_ = true;
    probeInputMonitoring();
    collaborators_.runLoop->after(kInputMonitoringCheckDelay, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->checkPermissions();
        }
    });
}

void PermissionsManager::openSystemSettings(PermissionType type) {
    const std::string_view url = type == PermissionType::accessibility ? accessibilitySettingsUrl
                                                                       : inputMonitoringSettingsUrl;
    collaborators_.urlOpener->open(std::string(url));
    if (!pollTimer_ && !requiredPermissionsGranted_.get()) {
        startPolling();
    }
}

void PermissionsManager::startPolling() {
    // A second timer would never be stopped: stopPolling only knows the one in pollTimer_.
    if (pollTimer_) {
        return;
    }
    collaborators_.systemLog->log("[Velmora] Starting permission polling (every 1s)");
    pollTimer_ = collaborators_.runLoop->every(kPollInterval, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->checkPermissions();
            if (self->requiredPermissionsGranted_.get()) {
                self->stopPolling();
            }
        }
    });
}

void PermissionsManager::stopPolling() {
    if (!pollTimer_) {
        return;
    }
    collaborators_.systemLog->log(
        "[Velmora] Stopping permission polling \u2014 permissions granted");
    pollTimer_->invalidate();
    pollTimer_.reset();
}

PermissionsManager::Diagnostics PermissionsManager::getDiagnostics() const {
    const MainBundle& bundle = *collaborators_.mainBundle;
    return Diagnostics{
        .bundleIdentifier = bundle.bundleIdentifier().value_or("unknown"),
        .bundlePath = bundle.bundlePath().value_or("unknown"),
        .executablePath = bundle.executablePath().value_or("unknown"),
        .accessibilityAuthorized = collaborators_.accessibility->isProcessTrusted(),
        .inputMonitoringAuthorized = inputMonitoringStatus_.get() == PermissionStatus::granted,
        .timestamp = collaborators_.timeProvider->now(),
    };
}

bool PermissionsManager::probeInputMonitoring() {
    // A tap that can be created proves the permission; it is never kept.
    auto tap = collaborators_.eventTaps->createListenOnlyTap(kProbeMask, [](const InputEvent&) {});
    if (!tap) {
        return false;
    }
    tap->setEnabled(true);
    tap->setEnabled(false);
    return true;
}

} // namespace velmora
