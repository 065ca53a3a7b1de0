// velmora-auth-helper [service]
//
// Runs one PAM authentication of the invoking user on `service` (default "velmora"; PAM falls
// back to "other" when it has no file of that name) and tells Velmora over stdin and stdout
// how it went, in the protocol of Platform/Linux/AuthHelperProtocol.hpp. Kept small and in a
// process of its own so that PAM modules never run inside Velmora and only an explicit
// success from PAM can unlock.

#include "ParentChannel.hpp"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <security/pam_appl.h>
#include <string_view>
#include <sys/prctl.h>
#include <unistd.h>

using namespace velmora::authhelper;

namespace {

struct Conversation {
    const ParentChannel* parent = nullptr;
    /// Velmora cancelled, closed our stdin or stopped reading.
    bool cancelled = false;
    /// Velmora sent something that is not an answer.
    bool broken = false;
    /// Answers Velmora gave; a stack that never asked has nothing to retry.
    int answers = 0;
};

void dropResponses(pam_response* responses, int count) {
    for (int i = 0; i < count; ++i) {
        if (char* answer = responses[i].resp) {
            explicit_bzero(answer, std::strlen(answer));
            std::free(answer);
        }
    }
    std::free(responses);
}

/// Relays one message to Velmora; false when the conversation must stop.
bool relay(Conversation& conversation, const pam_message& message, pam_response& response) {
    const ParentChannel& parent = *conversation.parent;
    const std::string_view text = message.msg ? message.msg : "";
    HelperMessageKind kind{};
    switch (message.msg_style) {
    case PAM_PROMPT_ECHO_OFF:
        kind = HelperMessageKind::promptHidden;
        break;
    case PAM_PROMPT_ECHO_ON:
        kind = HelperMessageKind::promptVisible;
        break;
    case PAM_ERROR_MSG:
        kind = HelperMessageKind::error;
        break;
    case PAM_TEXT_INFO:
        kind = HelperMessageKind::info;
        break;
    default:
        return false;
    }

    if (!parent.send(HelperMessage::withText(kind, std::string(text)))) {
        conversation.cancelled = true;
        return false;
    }
    if (kind != HelperMessageKind::promptHidden && kind != HelperMessageKind::promptVisible) {
        return true;
    }

    const ParentChannel::Answer answer = parent.readAnswer();
    switch (answer.kind) {
    case ParentChannel::Answer::Kind::password:
        response.resp = answer.password;
        ++conversation.answers;
        return true;
    case ParentChannel::Answer::Kind::malformed:
        conversation.broken = true;
        return false;
    default:
        conversation.cancelled = true;
        return false;
    }
}

int converse(int count, const pam_message** messages, pam_response** responses, void* data) {
    auto& conversation = *static_cast<Conversation*>(data);
    if (count <= 0 || count > PAM_MAX_NUM_MSG) {
        return PAM_CONV_ERR;
    }
    auto* answers = static_cast<pam_response*>(std::calloc(count, sizeof(pam_response)));
    if (!answers) {
        return PAM_BUF_ERR;
    }
    for (int i = 0; i < count; ++i) {
        if (!relay(conversation, *messages[i], answers[i])) {
            dropResponses(answers, count);
            return PAM_CONV_ERR;
        }
    }
    *responses = answers;
    return PAM_SUCCESS;
}

int finish(const ParentChannel& parent, HelperResult result, int pamCode = 0) {
    (void)parent.send(HelperMessage::finished(result, pamCode));
    return exitStatusFor(result);
}

bool isPlainServiceName(std::string_view service) {
    return !service.empty() && service.find('/') == std::string_view::npos && service != "." &&
           service != "..";
}

/// Asks PAM up to kMaxAttempts times, then checks the account.
int authenticate(pam_handle_t* pam, const ParentChannel& parent, const Conversation& conversation) {
    // An empty password never unlocks, whatever the stack's nullok says.
    const int flags = PAM_DISALLOW_NULL_AUTHTOK;
    for (int attempt = 1;; ++attempt) {
        const int answersBefore = conversation.answers;
        const int status = pam_authenticate(pam, flags);
        if (conversation.cancelled) {
            return finish(parent, HelperResult::cancelled);
        }
        if (conversation.broken) {
            return finish(parent, HelperResult::failed, PAM_CONV_ERR);
        }
        if (status == PAM_SUCCESS) {
            break;
        }
        const bool answered = conversation.answers > answersBefore;
        if (status != PAM_AUTH_ERR || !answered || attempt == kMaxAttempts) {
            return finish(parent, HelperResult::failed, status);
        }
        if (!parent.send(HelperMessage::retry(status))) {
            return finish(parent, HelperResult::cancelled);
        }
    }

    const int status = pam_acct_mgmt(pam, flags);
    if (conversation.cancelled) {
        return finish(parent, HelperResult::cancelled);
    }
    if (status != PAM_SUCCESS || conversation.broken) {
        return finish(parent, HelperResult::failed, status == PAM_SUCCESS ? PAM_CONV_ERR : status);
    }
    return finish(parent, HelperResult::success);
}

} // namespace

int main(int argc, char** argv) {
    // Keeps passwords out of core dumps and away from other processes of the same user.
    prctl(PR_SET_DUMPABLE, 0);
    std::signal(SIGPIPE, SIG_IGN);

    const ParentChannel parent(STDIN_FILENO, STDOUT_FILENO);
    const char* service = argc > 1 ? argv[1] : "velmora";
    if (argc > 2 || !isPlainServiceName(service)) {
        return finish(parent, HelperResult::unavailable);
    }
    const passwd* user = getpwuid(getuid());
    if (!user || !user->pw_name) {
        return finish(parent, HelperResult::unavailable);
    }

    Conversation conversation{&parent};
    const pam_conv conv{&converse, &conversation};
    pam_handle_t* pam = nullptr;
    if (pam_start(service, user->pw_name, &conv, &pam) != PAM_SUCCESS) {
        return finish(parent, HelperResult::unavailable);
    }
    const int exitStatus = authenticate(pam, parent, conversation);
    pam_end(pam, exitStatus == 0 ? PAM_SUCCESS : PAM_AUTH_ERR);
    return exitStatus;
}
