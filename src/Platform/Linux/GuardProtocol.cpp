#include "Platform/Linux/GuardProtocol.hpp"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace velmora::guard {

namespace {

constexpr std::string_view kStarting = "starting";
constexpr std::string_view kWatching = "watching";
constexpr std::string_view kQuit = "quit";
constexpr std::string_view kProtects = "protects";
constexpr std::string_view kApp = "app=";
constexpr std::string_view kClass = "class=";
constexpr std::string_view kExe = "exe=";
constexpr std::string_view kKeys[] = {kApp, kClass, kExe};

std::string percentEncoded(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7f || c == '%' || c == '=') {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> percentDecoded(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        unsigned byte = 0;
        if (i + 2 >= value.size()) {
            return std::nullopt;
        }
        const auto [end, error] =
            std::from_chars(value.data() + i + 1, value.data() + i + 3, byte, 16);
        if (error != std::errc{} || end != value.data() + i + 3) {
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

/// The words after "protects"; nothing when one is not of the protocol.
std::optional<std::vector<ApplicationIdentities>> decodeApplications(std::string_view text) {
    std::vector<ApplicationIdentities> applications;
    while (!text.empty()) {
        if (text.front() != ' ') {
            return std::nullopt;
        }
        text.remove_prefix(1);
        const std::string_view word = text.substr(0, text.find(' '));
        text.remove_prefix(word.size());
        const auto key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                      [&](std::string_view k) { return word.starts_with(k); });
        auto value =
            key == std::end(kKeys) ? std::nullopt : percentDecoded(word.substr(key->size()));
        if (!value || value->empty() || (*key != kApp && applications.empty())) {
            return std::nullopt;
        }
        if (*key == kApp) {
            applications.push_back({.desktopId = std::move(*value)});
        } else if (*key == kClass) {
            applications.back().windowClasses.push_back(std::move(*value));
        } else {
            applications.back().executables.push_back(std::move(*value));
        }
    }
    return applications;
}

std::string encodeApplications(const std::vector<ApplicationIdentities>& applications) {
    std::string line(kProtects);
    for (const ApplicationIdentities& application : applications) {
        std::string words = ' ' + std::string(kApp) + percentEncoded(application.desktopId);
        for (const std::string& name : application.windowClasses) {
            words += ' ' + std::string(kClass) + percentEncoded(name);
        }
        for (const std::string& path : application.executables) {
            words += ' ' + std::string(kExe) + percentEncoded(path);
        }
        if (line.size() + words.size() + 1 > kMaxGuardLineSize) {
            break;
        }
        line += words;
    }
    return line + '\n';
}

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
    case GuardMessageKind::protects:
        return encodeApplications(message.applications);
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
    if (line.starts_with(kProtects)) {
        auto applications = decodeApplications(line.substr(kProtects.size()));
        if (!applications) {
            return std::nullopt;
        }
        return GuardMessage::protecting(std::move(*applications));
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
