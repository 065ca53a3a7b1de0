#pragma once

#include "Ui/PermissionCardAdaptor.hpp"
#include "Views/PermissionsViewModel.hpp"

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

namespace velmora {

/// What PermissionsView.qml sees of the onboarding view's model: its two cards, the status
/// row, what the bottom offers, the diagnostics panel, and the buttons' actions.
///
///     auto* adaptor = new PermissionsViewAdaptor(model, parent);
///     // QML: PermissionCard { card: onboarding.accessibilityCard }
class PermissionsViewAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* accessibilityCard READ accessibilityCard CONSTANT)
    Q_PROPERTY(QObject* inputMonitoringCard READ inputMonitoringCard CONSTANT)
    Q_PROPERTY(bool showsInputMonitoringInfo READ showsInputMonitoringInfo NOTIFY changed)
    Q_PROPERTY(QString statusSymbol READ statusSymbol NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(QColor statusColor READ statusColor NOTIFY changed)
    Q_PROPERTY(ContinueOption continueOption READ continueOption NOTIFY changed)
    Q_PROPERTY(QString continueButtonTitle READ continueButtonTitle NOTIFY changed)
    Q_PROPERTY(QString continueNote READ continueNote NOTIFY changed)
    Q_PROPERTY(bool showDiagnostics READ showDiagnostics NOTIFY changed)
    Q_PROPERTY(QString diagnosticsChevron READ diagnosticsChevron NOTIFY changed)
    Q_PROPERTY(QVariantList diagnosticRows READ diagnosticRows NOTIFY changed)
    Q_PROPERTY(QString copyButtonTitle READ copyButtonTitle NOTIFY changed)
    Q_PROPERTY(QString copyButtonSymbol READ copyButtonSymbol NOTIFY changed)
    Q_PROPERTY(QString headerSymbol READ headerSymbol CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString subtitle READ subtitle CONSTANT)
    Q_PROPERTY(QString requiredSection READ requiredSection CONSTANT)
    Q_PROPERTY(QString requiredSectionSymbol READ requiredSectionSymbol CONSTANT)
    Q_PROPERTY(QString recommendedSection READ recommendedSection CONSTANT)
    Q_PROPERTY(QString recommendedSectionSymbol READ recommendedSectionSymbol CONSTANT)
    Q_PROPERTY(QString inputMonitoringInfo READ inputMonitoringInfo CONSTANT)
    Q_PROPERTY(QString inputMonitoringInfoSymbol READ inputMonitoringInfoSymbol CONSTANT)
    Q_PROPERTY(QString diagnosticsTitle READ diagnosticsTitle CONSTANT)
    Q_PROPERTY(QString diagnosticsSymbol READ diagnosticsSymbol CONSTANT)
    Q_PROPERTY(QString diagnosticsHint READ diagnosticsHint CONSTANT)
    Q_PROPERTY(QString recheckAllTitle READ recheckAllTitle CONSTANT)
    Q_PROPERTY(QString recheckAllSymbol READ recheckAllSymbol CONSTANT)

public:
    /// Capitalised, as QML reads enumerators.
    enum class ContinueOption { Unavailable, ContinueButton, ContinueWithoutInputMonitoring };
    Q_ENUM(ContinueOption)

    explicit PermissionsViewAdaptor(std::shared_ptr<PermissionsViewModel> model,
                                    QObject* parent = nullptr);

    [[nodiscard]] QObject* accessibilityCard() const { return accessibilityCard_; }
    [[nodiscard]] QObject* inputMonitoringCard() const { return inputMonitoringCard_; }
    [[nodiscard]] bool showsInputMonitoringInfo() const;
    [[nodiscard]] QString statusSymbol() const;
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] QColor statusColor() const;
    [[nodiscard]] ContinueOption continueOption() const;
    [[nodiscard]] QString continueButtonTitle() const;
    [[nodiscard]] QString continueNote() const;
    [[nodiscard]] bool showDiagnostics() const;
    [[nodiscard]] QString diagnosticsChevron() const;
    /// Each a map of `label`, `value` and `valueColor`, from a fresh diagnostics record.
    [[nodiscard]] QVariantList diagnosticRows() const;
    [[nodiscard]] QString copyButtonTitle() const;
    [[nodiscard]] QString copyButtonSymbol() const;
    [[nodiscard]] static QString headerSymbol();
    [[nodiscard]] static QString title();
    [[nodiscard]] static QString subtitle();
    [[nodiscard]] static QString requiredSection();
    [[nodiscard]] static QString requiredSectionSymbol();
    [[nodiscard]] static QString recommendedSection();
    [[nodiscard]] static QString recommendedSectionSymbol();
    [[nodiscard]] static QString inputMonitoringInfo();
    [[nodiscard]] static QString inputMonitoringInfoSymbol();
    [[nodiscard]] static QString diagnosticsTitle();
    [[nodiscard]] static QString diagnosticsSymbol();
    [[nodiscard]] static QString diagnosticsHint();
    [[nodiscard]] static QString recheckAllTitle();
    [[nodiscard]] static QString recheckAllSymbol();

    Q_INVOKABLE void toggleDiagnostics();
    Q_INVOKABLE void copyDiagnostics();
    Q_INVOKABLE void continueTapped();
    Q_INVOKABLE void recheckPermissions();

Q_SIGNALS:
    void changed();

private:
    std::shared_ptr<PermissionsViewModel> model_;
    PermissionCardAdaptor* accessibilityCard_;
    PermissionCardAdaptor* inputMonitoringCard_;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
