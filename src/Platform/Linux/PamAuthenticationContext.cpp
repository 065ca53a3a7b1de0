#include "Platform/Linux/PamAuthenticationContext.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {

namespace {

using authhelper::HelperMessageKind;
using authhelper::HelperResult;

constexpr std::string_view kWrongPassword = "Wrong password. Try again.";

struct ResultReply {
    HelperResult result;
    bool success;
    LAErrorCode code;
    std::string_view description;
};

constexpr std::array<ResultReply, 4> kResultReplies{{
    {HelperResult::success, true, LAErrorCode::authenticationFailed, ""},
    {HelperResult::failed, false, LAErrorCode::authenticationFailed, "Authentication failed"},
    {HelperResult::cancelled, false, LAErrorCode::userCancel, "Authentication was cancelled"},
    {HelperResult::unavailable, false, LAErrorCode::passcodeNotSet,
     "PAM cannot authenticate this user"},
}};

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

/// The password field says as much already; other prompts (a one-time code, ...) are shown.
bool asksForThePassword(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find("password") != std::string::npos;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

} // namespace

PamAuthenticationContext::PamAuthenticationContext(std::shared_ptr<PasswordPrompting> prompts,
                                                   PamAuthenticationSettings settings,
                                                   std::shared_ptr<PamStackSurvey> survey)
    : prompts_(std::move(prompts)), settings_(std::move(settings)),
      survey_(survey ? std::move(survey)
                     : std::make_shared<PamStackSurvey>(settings_.serviceDirectory,
                                                        settings_.serviceName)) {
    helperTimer_->setSingleShot(true);
    QObject::connect(helperTimer_.get(), &QTimer::timeout, helperTimer_.get(), [this] {
        fail(LAErrorCode::authenticationFailed, "The authentication helper did not answer");
    });
}

PamAuthenticationContext::~PamAuthenticationContext() = default;

bool PamAuthenticationContext::canEvaluatePolicy(AuthenticationPolicy policy,
                                                 std::optional<OwnerAuthenticationError>* error) {
    const PamStackSurvey::Findings stack = survey_->findings();
    std::error_code ignored;
    biometryType_ =
        stack.usesFingerprintReader && std::filesystem::exists(settings_.fprintdService, ignored)
            ? BiometryType::fingerprint
            : BiometryType::none;

    std::optional<OwnerAuthenticationError> why;
    if (!isExecutableFile(settings_.helperPath)) {
        why = OwnerAuthenticationError::local(LAErrorCode::passcodeNotSet,
                                              "The authentication helper is missing");
    } else if (!stack.configured) {
        why = OwnerAuthenticationError::local(LAErrorCode::passcodeNotSet,
                                              "No PAM service is configured");
    } else if (policy == AuthenticationPolicy::deviceOwnerAuthenticationWithBiometrics &&
               biometryType_ == BiometryType::none) {
        why = OwnerAuthenticationError::local(LAErrorCode::biometryNotAvailable,
                                              "No fingerprint reader takes part in PAM");
    }
    if (error) {
        *error = why;
    }
    return !why;
}

void PamAuthenticationContext::evaluatePolicy(AuthenticationPolicy, std::string localizedReason,
                                              Reply reply) {
    if (stage_ != Stage::idle) {
        // A context serves one prompt.
        reply(false, OwnerAuthenticationError::local(LAErrorCode::invalidContext));
        return;
    }
    reply_ = std::move(reply);
    stage_ = Stage::waitingForHelper;
    helper_ = AuthHelperProcess::start(
        settings_.helperPath, {settings_.serviceName},
        {
            .onLine = [this](std::string_view line) { onHelperLine(line); },
            .onUnreadableOutput =
                [this] {
                    fail(LAErrorCode::authenticationFailed,
                         "The authentication helper answered nonsense");
                },
            .onExit = [this](int waitStatus) { onHelperExit(waitStatus); },
        });
    if (!helper_) {
        fail(LAErrorCode::passcodeNotSet, "The authentication helper cannot be started");
        return;
    }
    prompt_ = prompts_->open(localizedReason);
    waitForHelper();
}

void PamAuthenticationContext::onHelperLine(std::string_view line) {
    const auto message = authhelper::decodeHelperMessage(line);
    // The helper speaks only while PAM works, and says nothing after its result.
    if (!message || stage_ != Stage::waitingForHelper || result_) {
        fail(LAErrorCode::authenticationFailed, "The authentication helper answered nonsense");
        return;
    }
    switch (message->kind) {
    case HelperMessageKind::promptHidden:
    case HelperMessageKind::promptVisible:
        answerPrompt(message->text);
        return;
    case HelperMessageKind::info:
    case HelperMessageKind::error:
        notes_.push_back(message->text);
        showNotes();
        break;
    case HelperMessageKind::retry:
        notes_.insert(notes_.begin(), std::string(kWrongPassword));
        wrongPassword_ = true;
        break;
    case HelperMessageKind::result:
        result_ = message->result;
        break;
    }
    if (stage_ == Stage::waitingForHelper) {
        waitForHelper();
    }
}

void PamAuthenticationContext::showNotes() {
    // PAM talks while it works without a password (a fingerprint reader): the person reads
    // it at once and may cancel, or type a password that waits until PAM asks for one.
    if (!requestOutstanding_ && !heldAnswer_) {
        requestPassword();
    }
}

void PamAuthenticationContext::answerPrompt(const std::string& text) {
    if (!asksForThePassword(text)) {
        notes_.push_back(text);
    }
    if (heldAnswer_) {
        notes_.clear();
        const SecretBuffer answer = std::move(*heldAnswer_);
        heldAnswer_.reset();
        sendAnswer(answer);
        return;
    }
    helperTimer_->stop();
    stage_ = Stage::waitingForPerson;
    if (!requestOutstanding_) {
        requestPassword();
    }
}

void PamAuthenticationContext::requestPassword() {
    const std::string message = joined(notes_);
    notes_.clear();
    requestOutstanding_ = true;
    prompt_->setBusy(false);
    prompt_->requestPassword(message, lifetime_.guard([this](std::optional<SecretBuffer> password) {
        onPassword(std::move(password));
    }));
}

void PamAuthenticationContext::onPassword(std::optional<SecretBuffer> password) {
    requestOutstanding_ = false;
    if (stage_ == Stage::done) {
        return;
    }
    if (!password) {
        // Cancelling after a wrong password is a failed attempt all the same, or guesses
        // would escape the wait that failed attempts impose.
        if (wrongPassword_) {
            fail(LAErrorCode::authenticationFailed, "Authentication failed");
        } else {
            fail(LAErrorCode::userCancel, "Authentication was cancelled");
        }
        return;
    }
    std::optional<SecretBuffer> answer = authhelper::encodePassword(password->view());
    password->wipe();
    if (!answer) {
        fail(LAErrorCode::authenticationFailed, "The password cannot be checked");
        return;
    }
    prompt_->setBusy(true);
    if (stage_ == Stage::waitingForHelper) {
        heldAnswer_ = std::move(answer);
        return;
    }
    stage_ = Stage::waitingForHelper;
    sendAnswer(*answer);
}

void PamAuthenticationContext::sendAnswer(const SecretBuffer& answer) {
    if (!helper_->send(answer.view())) {
        fail(LAErrorCode::authenticationFailed, "The authentication helper stopped listening");
        return;
    }
    waitForHelper();
}

void PamAuthenticationContext::onHelperExit(int waitStatus) {
    const bool exited = WIFEXITED(waitStatus);
    for (const ResultReply& entry : kResultReplies) {
        if (result_ == entry.result && exited &&
            WEXITSTATUS(waitStatus) == authhelper::exitStatusFor(entry.result)) {
            finish(entry.success, entry.success ? std::nullopt
                                                : std::optional(OwnerAuthenticationError::local(
                                                      entry.code, std::string(entry.description))));
            return;
        }
    }
    fail(LAErrorCode::authenticationFailed, "The authentication helper stopped unexpectedly");
}

void PamAuthenticationContext::waitForHelper() {
    helperTimer_->start(settings_.helperTimeout);
}

void PamAuthenticationContext::fail(LAErrorCode code, std::string description) {
    finish(false, OwnerAuthenticationError::local(code, std::move(description)));
}

void PamAuthenticationContext::finish(bool success, std::optional<OwnerAuthenticationError> error) {
    if (stage_ == Stage::done) {
        return;
    }
    stage_ = Stage::done;
    helperTimer_->stop();
    if (helper_) {
        helper_->stop();
    }
    // Closed once the prompt has finished delivering its own answer, which may be this one.
    QTimer::singleShot(0, [prompt = std::shared_ptr<PasswordPrompt>(std::move(prompt_))] {});
    const Reply reply = std::move(reply_);
    reply(success, std::move(error));
}

} // namespace velmora
