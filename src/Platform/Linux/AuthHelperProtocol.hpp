#pragma once

#include "Platform/Linux/SecretBuffer.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::authhelper {

/// The conversation between Velmora and `velmora-auth-helper`, which runs one PAM
/// authentication for the invoking user. Standard library only: the helper builds this file
/// into itself without Qt.
///
///     write(helperStdin, encodePassword(password.view()).view());
///     std::optional<HelperMessage> message = decodeHelperMessage("retry 7");
///
/// Helper to Velmora, one line each, ending in '\n'; texts escape '\' as "\\" and a line
/// break as "\n", other control characters become spaces:
///
///     prompt-hidden <text>      PAM asks for a secret (PAM_PROMPT_ECHO_OFF)
///     prompt-visible <text>     PAM asks for a visible answer (PAM_PROMPT_ECHO_ON)
///     info <text>               PAM_TEXT_INFO
///     error <text>              PAM_ERROR_MSG
///     retry <pam code>          the password was wrong; another prompt follows
///     result success            exit status 0
///     result failed <pam code>  exit status 1
///     result cancelled          exit status 2: Velmora cancelled or closed the helper's stdin
///     result unavailable        exit status 3: PAM could not be started for this user
///
/// Velmora to helper, answering each prompt:
///
///     password <byte count>\n<the bytes>\n      any byte but NUL, at most kMaxSecretSize
///     cancel\n
enum class HelperMessageKind { promptHidden, promptVisible, info, error, retry, result };

enum class HelperResult { success, failed, cancelled, unavailable };

struct HelperMessage {
    HelperMessageKind kind = HelperMessageKind::info;
    /// The prompt or information text.
    std::string text;
    /// For `result`.
    HelperResult result = HelperResult::failed;
    /// For `retry` and a failed `result`: what PAM returned.
    int pamCode = 0;

    static HelperMessage withText(HelperMessageKind kind, std::string text) {
        return {kind, std::move(text), HelperResult::failed, 0};
    }
    static HelperMessage retry(int pamCode) {
        return {HelperMessageKind::retry, {}, HelperResult::failed, pamCode};
    }
    static HelperMessage finished(HelperResult result, int pamCode = 0) {
        return {HelperMessageKind::result, {}, result, pamCode};
    }

    friend bool operator==(const HelperMessage&, const HelperMessage&) = default;
};

/// Wrong passwords one helper run accepts before it gives up.
inline constexpr int kMaxAttempts = 3;
/// The longest secret the helper accepts; far beyond what PAM modules read.
inline constexpr std::size_t kMaxSecretSize = 4096;
/// The longest line either side sends, line break included.
inline constexpr std::size_t kMaxLineSize = 8192;

/// The line for `message`, line break included.
[[nodiscard]] std::string encodeHelperMessage(const HelperMessage& message);
/// `line` without its line break; nothing when it is not a message of the protocol.
[[nodiscard]] std::optional<HelperMessage> decodeHelperMessage(std::string_view line);

/// The exit status that goes with `result`.
[[nodiscard]] int exitStatusFor(HelperResult result);

/// The answer carrying `password`; nothing when it holds a NUL or is too long to send.
[[nodiscard]] std::optional<SecretBuffer> encodePassword(std::string_view password);

/// The first line of an answer, as the helper reads it.
struct AnswerHeader {
    bool cancel = false;
    /// For a password: how many bytes follow before the closing line break.
    std::size_t size = 0;

    friend bool operator==(const AnswerHeader&, const AnswerHeader&) = default;
};

/// `line` without its line break; nothing when it is neither a password nor a cancel.
[[nodiscard]] std::optional<AnswerHeader> decodeAnswerHeader(std::string_view line);

} // namespace velmora::authhelper
