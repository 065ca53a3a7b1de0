#pragma once

#include "Views/PermissionsViewModel.hpp"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace velmora {

/// What PermissionCard.qml sees of one of the onboarding view's cards: its texts, status and
/// steps as they change, and its three buttons.
///
///     PermissionCardAdaptor card(model, &PermissionsViewModel::accessibilityCard);
///     // QML: Text { text: card.statusText; color: card.statusColor }
class PermissionCardAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString description READ description NOTIFY changed)
    Q_PROPERTY(QString iconSymbol READ iconSymbol NOTIFY changed)
    Q_PROPERTY(QString badge READ badge NOTIFY changed)
    Q_PROPERTY(QColor statusColor READ statusColor NOTIFY changed)
    Q_PROPERTY(QString statusSymbol READ statusSymbol NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(bool showsInstructions READ showsInstructions NOTIFY changed)
    Q_PROPERTY(QStringList steps READ steps NOTIFY changed)
    Q_PROPERTY(bool offersQuit READ offersQuit NOTIFY changed)
    Q_PROPERTY(QString openSettingsTitle READ openSettingsTitle CONSTANT)
    Q_PROPERTY(QString openSettingsSymbol READ openSettingsSymbol CONSTANT)
    Q_PROPERTY(QString recheckTitle READ recheckTitle CONSTANT)
    Q_PROPERTY(QString recheckSymbol READ recheckSymbol CONSTANT)
    Q_PROPERTY(QString quitTitle READ quitTitle CONSTANT)
    Q_PROPERTY(QString quitSymbol READ quitSymbol CONSTANT)

public:
    using Card = Observable<PermissionCard> PermissionsViewModel::*;

    PermissionCardAdaptor(std::shared_ptr<PermissionsViewModel> model, Card card,
                          QObject* parent = nullptr);

    [[nodiscard]] QString title() const;
    [[nodiscard]] QString description() const;
    [[nodiscard]] QString iconSymbol() const;
    /// Empty where the card has none.
    [[nodiscard]] QString badge() const;
    [[nodiscard]] QColor statusColor() const;
    [[nodiscard]] QString statusSymbol() const;
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] bool showsInstructions() const { return card().showsInstructions(); }
    [[nodiscard]] QStringList steps() const;
    [[nodiscard]] bool offersQuit() const { return card().offersQuit; }
    [[nodiscard]] static QString openSettingsTitle();
    [[nodiscard]] static QString openSettingsSymbol();
    [[nodiscard]] static QString recheckTitle();
    [[nodiscard]] static QString recheckSymbol();
    [[nodiscard]] static QString quitTitle();
    [[nodiscard]] static QString quitSymbol();

    Q_INVOKABLE void openSystemSettings();
    Q_INVOKABLE void recheck();
    Q_INVOKABLE void quit();

Q_SIGNALS:
    void changed();

private:
    [[nodiscard]] const PermissionCard& card() const { return ((*model_).*card_).get(); }

    std::shared_ptr<PermissionsViewModel> model_;
    Card card_;
    Subscription subscription_;
};

} // namespace velmora
