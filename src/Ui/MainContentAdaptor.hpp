#pragma once

#include "Views/MainContentViewModel.hpp"

#include <QObject>
#include <QString>
#include <memory>

namespace velmora {

class PermissionsViewAdaptor;

/// What MainContentView.qml sees of the settings window's root model: which content it
/// shows, the onboarding view's adaptor while that is shown, and the setup-complete texts.
///
///     auto* adaptor = new MainContentAdaptor(model, window);
///     // QML: PermissionsView { onboarding: mainContent.onboarding }
///
/// A switch of content reaches QML on a later turn of the event loop: it destroys the items
/// whose button handler may have caused it.
class MainContentAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool setupComplete READ setupComplete NOTIFY contentChanged)
    Q_PROPERTY(QObject* onboarding READ onboarding NOTIFY contentChanged)
    Q_PROPERTY(QString setupCompleteSymbol READ setupCompleteSymbol CONSTANT)
    Q_PROPERTY(QString setupCompleteTitle READ setupCompleteTitle CONSTANT)
    Q_PROPERTY(QString setupCompleteMessage READ setupCompleteMessage CONSTANT)
    Q_PROPERTY(QString setupCompleteHint READ setupCompleteHint CONSTANT)

public:
    explicit MainContentAdaptor(std::shared_ptr<MainContentViewModel> model,
                                QObject* parent = nullptr);

    [[nodiscard]] bool setupComplete() const { return setupComplete_; }
    /// Null while setup is complete.
    [[nodiscard]] QObject* onboarding() const;
    [[nodiscard]] static QString setupCompleteSymbol();
    [[nodiscard]] static QString setupCompleteTitle();
    [[nodiscard]] static QString setupCompleteMessage();
    [[nodiscard]] static QString setupCompleteHint();

Q_SIGNALS:
    void contentChanged();

private:
    void follow();

    std::shared_ptr<MainContentViewModel> model_;
    bool setupComplete_ = false;
    PermissionsViewAdaptor* onboarding_ = nullptr;
    Subscription subscription_;
};

} // namespace velmora
