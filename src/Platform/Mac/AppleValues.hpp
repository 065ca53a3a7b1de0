#pragma once

#include "Platform/EventTap.hpp"
#include "Platform/OwnerAuthentication.hpp"
#include "Platform/SystemAgents.hpp"
#include "Platform/WorkspaceProviding.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

/// Readings of the raw values Apple's frameworks report, kept apart from the Objective-C
/// code so that they can be tested anywhere.
///
///     ActivationPolicy policy = activationPolicyFromRaw(app.activationPolicy);

/// `NSApplicationActivationPolicy`; a value this program does not know counts as
/// `prohibited`, so that such an application is never brought forward as an ordinary one.
ActivationPolicy activationPolicyFromRaw(long long raw);
long long rawActivationPolicy(ActivationPolicy policy);

/// `LABiometryType`. Values beyond the known ones pass through, except the one this program
/// reserves for Linux fingerprint readers, which reads as `none`.
BiometryType biometryTypeFromRaw(long long raw);

/// `SMAppServiceStatus`: only `enabled` (1) means the item runs at login.
bool isLoginItemEnabled(long long rawStatus);

/// A Quartz event as a listen-only tap reports it; a target process identifier that does
/// not fit a process identifier reads as 0 (no target).
InputEvent inputEventFromQuartz(std::uint32_t type, std::int64_t targetPid);

/// The system's own name for a `session_events` name; any other name passes through.
std::string appleNotificationName(std::string_view name);

/// The System Settings pane for a `settings_links` section; any other URL passes through.
std::string appleSettingsUrl(std::string_view url);

/// The agents of macOS: its prompts, the Dock, Spotlight and their kin, and the Finder.
SystemAgents appleSystemAgents();

} // namespace velmora
