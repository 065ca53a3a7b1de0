#include "Ui/QtHostApplication.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

namespace velmora {

namespace {

constexpr const char* kKindProperty = "velmoraWindowKind";

std::optional<AppWindowKind> kindOf(const QWindow& window) {
    const QVariant kind = window.property(kKindProperty);
    if (!kind.isValid()) {
        return std::nullopt;
    }
    return static_cast<AppWindowKind>(kind.toInt());
}

int idOf(const QWindow& window) {
    return static_cast<int>(window.winId());
}

} // namespace

QtHostApplication::QtHostApplication(std::shared_ptr<RunLoop> runLoop, QuitEventLoop quitEventLoop)
    : runLoop_(std::move(runLoop)), quitEventLoop_(std::move(quitEventLoop)) {
    if (!quitEventLoop_) {
        quitEventLoop_ = [] { QCoreApplication::quit(); };
    }
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, &context_,
                     [this](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive) {
                             return;
                         }
                         runLoop_->post([weak = std::weak_ptr(activeObservers_)] {
                             const auto observers = weak.lock();
                             if (!observers) {
                                 return;
                             }
                             // A copy: an observer may unsubscribe itself or others.
                             const auto current = *observers;
                             for (const auto& [id, handler] : current) {
                                 if (observers->contains(id)) {
                                     handler();
                                 }
                             }
                         });
                     });
}

QtHostApplication::~QtHostApplication() = default;

void QtHostApplication::setWindowKind(QWindow& window, AppWindowKind kind) {
    window.setProperty(kKindProperty, static_cast<int>(kind));
}

std::vector<AppWindow> QtHostApplication::windows() const {
    std::vector<AppWindow> own;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (const auto kind = kindOf(*window)) {
            const bool onTop = window->flags().testFlag(Qt::WindowStaysOnTopHint);
            own.push_back(AppWindow{idOf(*window), *kind, window->isVisible(),
                                    onTop ? kFloatingWindowLevel : kNormalWindowLevel});
        }
    }
    return own;
}

void QtHostApplication::activateIgnoringOtherApps() {
    QWindow* last = nullptr;
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (kindOf(*window) && window->isVisible()) {
            window->raise();
            last = window;
        }
    }
    if (last) {
        last->requestActivate();
    }
}

void QtHostApplication::setWindowLevel(int windowId, WindowLevel level) {
    QWindow* target = window(windowId);
    // A window outside the window manager's care is above its windows already.
    if (!target || target->flags().testFlag(Qt::X11BypassWindowManagerHint)) {
        return;
    }
    target->setFlag(Qt::WindowStaysOnTopHint, level >= kFloatingWindowLevel);
}

void QtHostApplication::makeKeyAndOrderFront(int windowId) {
    if (QWindow* target = window(windowId)) {
        target->show();
        target->raise();
        target->requestActivate();
    }
}

void QtHostApplication::terminate() {
    termination_.request(delegate_);
}

void QtHostApplication::replyToApplicationShouldTerminate(bool shouldTerminate) {
    termination_.reply(shouldTerminate, delegate_);
}

Subscription QtHostApplication::observeDidBecomeActive(EventHandler handler) {
    const int id = nextObserverId_++;
    activeObservers_->emplace(id, std::move(handler));
    return Subscription([weak = std::weak_ptr(activeObservers_), id] {
        if (const auto observers = weak.lock()) {
            observers->erase(id);
        }
    });
}

QWindow* QtHostApplication::window(int windowId) const {
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (kindOf(*window) && idOf(*window) == windowId) {
            return window;
        }
    }
    return nullptr;
}

} // namespace velmora
