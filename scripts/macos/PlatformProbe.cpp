// A program that starts the way the macOS one does: the macOS platform built and installed,
// the crash reporter and every process-wide instance created over it. scripts/check-macos
// links it with every object of the core and the backend, so that each symbol and framework
// they need must resolve; it is never run.
#include "Core/AppLogger.hpp"
#include "Core/CrashReporter.hpp"
#include "Core/LockEngine/LockEngine.hpp"
#include "Core/Overlay/OverlayWindowController.hpp"
#include "Models/AppState.hpp"
#include "Platform/Mac/MacPlatform.hpp"
#include "Services/AuthManager.hpp"
#include "Services/PermissionsManager.hpp"
#include "Services/UpdateManager.hpp"
#include "Support/ManualRunLoop.hpp"

int main() {
    using namespace velmora;
    const auto runLoop = std::make_shared<ManualRunLoop>();
    installPlatform(makeMacPlatform(runLoop, nullptr));
    CrashReporter::shared().install();
    const bool created = AppLogger::shared() && AppState::shared() && AuthManager::shared() &&
                         PermissionsManager::shared() && OverlayWindowController::shared() &&
                         LockEngine::shared();
    UpdateManager::shared();
    return created ? 0 : 1;
}
