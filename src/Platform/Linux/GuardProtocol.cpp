#include "Platform/Linux/GuardProtocol.hpp"

#include <charconv>

namespace velmora::guard {

namespace {

constexpr std::string_view kStarting = "starting";
constexpr std::string_view kWatching = "watching";
constexpr std::string_view kQuit = "quit";

std::optional<std::vector<ProcessId>> decodePids(std::string_view text) {
    std::vector<ProcessId> pids;
    while (!text.empty()) {
        if (text.front() != ' ') {
            return std::nullopt;
        }
        text.remove_prefix(1);
        ProcessId pid = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
        if (error != std::errc{} || end == text.data() || pid <= 0) {
            return std::nullopt;
        }
        pids.push_back(pid);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    }
    return pids;
}

} // namespace

std::string encodeGuardMessage(const GuardMessage& message) {
    switch (message.kind) {
    case GuardMessageKind::starting:
        return std::string(kStarting) + '\n';
    case GuardMessageKind::quit:
        return std::string(kQuit) + '\n';
    case GuardMessageKind::watching:
        break;
    }
    std::string line(kWatching);
    for (const ProcessId pid : message.pids) {
        const std::string word = ' ' + std::to_string(pid);
        if (line.size() + word.size() + 1 > kMaxGuardLineSize) {
            break;
        }
        line += word;
    }
    return line + '\n';
}

std::optional<GuardMessage> decodeGuardMessage(std::string_view line) {
    if (line == kStarting) {
        return GuardMessage{};
    }
    if (line == kQuit) {
        return GuardMessage{GuardMessageKind::quit};
    }
    if (!line.starts_with(kWatching)) {
        return std::nullopt;
    }
    auto pids = decodePids(line.substr(kWatching.size()));
    if (!pids) {
        return std::nullopt;
    }
    return GuardMessage::watching(std::move(*pids));
}

} // namespace velmora::guard
