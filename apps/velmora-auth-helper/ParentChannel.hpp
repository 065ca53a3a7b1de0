#pragma once

#include "Platform/Linux/AuthHelperProtocol.hpp"

namespace velmora::authhelper {

/// The helper's side of the conversation with Velmora, over two file descriptors. Reads
/// byte by byte straight from the descriptor, so no copy of a password stays in a stream
/// buffer.
///
///     ParentChannel parent(STDIN_FILENO, STDOUT_FILENO);
///     if (!parent.send(HelperMessage::withText(HelperMessageKind::promptHidden, "Password: "))) {
///     ... } ParentChannel::Answer answer = parent.readAnswer();
class ParentChannel {
public:
    struct Answer {
        enum class Kind { password, cancel, closed, malformed };
        Kind kind = Kind::closed;
        /// For `password`: a NUL-terminated copy from malloc(3), which PAM frees.
        char* password = nullptr;
    };

    ParentChannel(int input, int output) : input_(input), output_(output) {}

    /// False when Velmora is gone (a broken pipe).
    [[nodiscard]] bool send(const HelperMessage& message) const;
    /// Waits for Velmora's answer to a prompt.
    [[nodiscard]] Answer readAnswer() const;

private:
    [[nodiscard]] bool readExactly(char* buffer, std::size_t size) const;

    int input_;
    int output_;
};

} // namespace velmora::authhelper
