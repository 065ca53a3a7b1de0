#pragma once

#include "Platform/Linux/PasswordPrompting.hpp"

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

class QQmlEngine;
class QQuickView;

namespace velmora {

class PasswordPromptAdaptor;
class QtPasswordPromptField;

/// One password prompt window (PasswordPrompt.qml), in front of every other window, the
/// overlays included, and holding the keyboard while it waits. Closed when the prompt goes.
///
///     QtPasswordPrompt prompt(engine, "Unlock Notes");
///     prompt.requestPassword("", [](std::optional<SecretBuffer> password) { ... });
///
/// The typed text lives only in the field's SecretBuffer, handed over when it is submitted
/// and wiped when the request is cancelled or the prompt goes. Replies run on a later turn of the
/// event loop, never inside a key or click handler, and not at all once the prompt is gone.
class QtPasswordPrompt final : public PasswordPrompt {
public:
    /// Moves the keyboard focus into the shown prompt's X window through a connection other
    /// than Qt's.
    using FocusGiver = std::function<void(std::uint32_t window)>;
    /// Without a giver, the focus is given through Qt's own connection.
    QtPasswordPrompt(std::shared_ptr<QQmlEngine> engine, const std::string& reason,
                     FocusGiver giveFocus = {});
    ~QtPasswordPrompt() override;
    QtPasswordPrompt(const QtPasswordPrompt&) = delete;
    QtPasswordPrompt& operator=(const QtPasswordPrompt&) = delete;

    void requestPassword(const std::string& message, Reply reply) override;
    void setBusy(bool busy) override;

    /// The Qt window, for tests and screenshots.
    [[nodiscard]] QQuickView& view() const { return *view_; }

private:
    void submit();
    void cancel();
    void answer(std::optional<SecretBuffer> password);
    [[nodiscard]] QtPasswordPromptField* passwordField() const;

    std::shared_ptr<QQmlEngine> engine_;
    std::unique_ptr<QQuickView> view_;
    QPointer<PasswordPromptAdaptor> adaptor_;
    FocusGiver giveFocus_;
    Reply reply_;
};

} // namespace velmora
