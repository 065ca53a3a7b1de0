#pragma once

#include "Platform/Linux/PasswordPrompting.hpp"

#include <QTimer>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

/// Prompts that answer from a script, a moment later as a person would: each entry is a
/// password, or nothing for Cancel. With the script used up, requests wait for ever.
class FakePasswordPrompting final : public PasswordPrompting,
                                    public std::enable_shared_from_this<FakePasswordPrompting> {
public:
    std::deque<std::optional<std::string>> answers;

    /// What the prompts saw.
    std::vector<std::string> reasons;
    std::vector<std::string> messages;
    std::vector<bool> busyStates;
    int openPrompts = 0;

    std::unique_ptr<PasswordPrompt> open(const std::string& reason) override {
        reasons.push_back(reason);
        return std::make_unique<Prompt>(shared_from_this());
    }

private:
    class Prompt final : public PasswordPrompt {
    public:
        explicit Prompt(std::shared_ptr<FakePasswordPrompting> owner) : owner_(std::move(owner)) {
            ++owner_->openPrompts;
        }
        ~Prompt() override { --owner_->openPrompts; }
        Prompt(const Prompt&) = delete;
        Prompt& operator=(const Prompt&) = delete;

        void requestPassword(const std::string& message, Reply reply) override {
            owner_->messages.push_back(message);
            if (owner_->answers.empty()) {
                return;
            }
            std::optional<std::string> answer = std::move(owner_->answers.front());
            owner_->answers.pop_front();
            QTimer::singleShot(
                0, &context_, [reply = std::move(reply), answer = std::move(answer)] {
                    reply(answer ? std::optional(SecretBuffer(*answer)) : std::nullopt);
                });
        }
        void setBusy(bool busy) override { owner_->busyStates.push_back(busy); }

    private:
        std::shared_ptr<FakePasswordPrompting> owner_;
        QObject context_;
    };
};

} // namespace velmora::testing
