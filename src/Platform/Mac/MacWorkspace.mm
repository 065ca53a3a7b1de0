#include "Platform/Mac/MacWorkspace.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacObservation.hpp"
#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>

namespace velmora {

namespace {

RunningApplication snapshot(NSRunningApplication* app) {
    return {
        .bundleIdentifier = optionalString(app.bundleIdentifier),
        .processIdentifier = app.processIdentifier,
        .localizedName = optionalString(app.localizedName),
        .bundleLocation = optionalString(app.bundleURL.path),
        .activationPolicy = activationPolicyFromRaw(app.activationPolicy),
        .isTerminated = static_cast<bool>(app.terminated),
    };
}

std::optional<RunningApplication> snapshotOrNothing(NSRunningApplication* app) {
    return app ? std::optional<RunningApplication>(snapshot(app)) : std::nullopt;
}

/// The application a workspace notification names under `NSWorkspaceApplicationKey`.
std::optional<RunningApplication> applicationIn(NSNotification* notification) {
    id app = notification.userInfo[NSWorkspaceApplicationKey];
    if (![app isKindOfClass:[NSRunningApplication class]]) {
        return std::nullopt;
    }
    return snapshot(static_cast<NSRunningApplication*>(app));
}

NSRunningApplication* processWithId(ProcessId pid) {
    return [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
}

NSNotificationCenter* workspaceCenter() {
    return [NSWorkspace sharedWorkspace].notificationCenter;
}

} // namespace

MacWorkspace::MacWorkspace(std::shared_ptr<RunLoop> runLoop) : runLoop_(std::move(runLoop)) {}

std::optional<RunningApplication> MacWorkspace::frontmostApplication() const {
    return snapshotOrNothing([NSWorkspace sharedWorkspace].frontmostApplication);
}

std::vector<RunningApplication> MacWorkspace::runningApplications() const {
    std::vector<RunningApplication> apps;
    for (NSRunningApplication* app in [NSWorkspace sharedWorkspace].runningApplications) {
        apps.push_back(snapshot(app));
    }
    return apps;
}

std::optional<RunningApplication> MacWorkspace::runningApplication(ProcessId pid) const {
    return snapshotOrNothing(processWithId(pid));
}

bool MacWorkspace::activate(ProcessId pid) {
    NSRunningApplication* app = processWithId(pid);
    return app && [app activateWithOptions:0];
}

bool MacWorkspace::hide(ProcessId pid) {
    NSRunningApplication* app = processWithId(pid);
    return app && [app hide];
}

Subscription MacWorkspace::observeDidActivateApplication(ActivationHandler handler) {
    return observeOnRunLoop(workspaceCenter(), NSWorkspaceDidActivateApplicationNotification,
                            runLoop_, [handler](NSNotification* notification) {
                                return
                                    [handler, app = applicationIn(notification)] { handler(app); };
                            });
}

Subscription MacWorkspace::observeDidTerminateApplication(TerminationHandler handler) {
    return observeOnRunLoop(workspaceCenter(), NSWorkspaceDidTerminateApplicationNotification,
                            runLoop_, [handler](NSNotification* notification) {
                                return
                                    [handler, app = applicationIn(notification)] { handler(app); };
                            });
}

Subscription MacWorkspace::observeWillSleep(SystemEventHandler handler) {
    return observeOnRunLoop(workspaceCenter(), NSWorkspaceWillSleepNotification, runLoop_,
                            [handler](NSNotification*) { return handler; });
}

Subscription MacWorkspace::observeScreensDidSleep(SystemEventHandler handler) {
    return observeOnRunLoop(workspaceCenter(), NSWorkspaceScreensDidSleepNotification, runLoop_,
                            [handler](NSNotification*) { return handler; });
}

Subscription MacWorkspace::observeScreensDidWake(SystemEventHandler handler) {
    return observeOnRunLoop(workspaceCenter(), NSWorkspaceScreensDidWakeNotification, runLoop_,
                            [handler](NSNotification*) { return handler; });
}

} // namespace velmora
