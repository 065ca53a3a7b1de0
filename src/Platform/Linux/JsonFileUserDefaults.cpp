#include "Platform/Linux/JsonFileUserDefaults.hpp"

#include "Platform/Linux/AtomicFile.hpp"
#include "Platform/Linux/XdgDirectories.hpp"

#include <QByteArray>
#include <iostream>

namespace velmora {

namespace {

using Json = nlohmann::json;

constexpr const char* kBase64Key = "base64";
/// Writing JSON out recurses once per level, so deeper text is never taken as JSON.
constexpr int kDeepestNesting = 512;

bool nestsTooDeeply(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if ((c == '[' || c == '{') && ++depth > kDeepestNesting) {
            return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

/// The JSON value of `text`, or a discarded value when it is none or nests too deeply.
Json parsed(std::string_view text) {
    if (nestsTooDeeply(text)) {
        return Json(Json::value_t::discarded);
    }
    return Json::parse(text, nullptr, false);
}

bool isBase64Wrapper(const Json& value) {
    return value.is_object() && value.size() == 1 && value.contains(kBase64Key) &&
           value[kBase64Key].is_string();
}

bool isUtf8(std::string_view bytes) {
    try {
        (void)Json(std::string(bytes)).dump();
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

Json encodeData(const std::string& bytes) {
    Json value = parsed(bytes);
    if (!value.is_discarded() && (value.is_array() || value.is_object()) &&
        !isBase64Wrapper(value)) {
        return value;
    }
    if (isUtf8(bytes)) {
        return bytes;
    }
    const QByteArray encoded =
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toBase64();
    return Json{{kBase64Key, encoded.toStdString()}};
}

std::optional<std::string> decodeData(const Json& value) {
    if (isBase64Wrapper(value)) {
        const auto text = value[kBase64Key].get<std::string>();
        const auto decoded = QByteArray::fromBase64Encoding(
            QByteArray::fromStdString(text), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            return std::nullopt;
        }
        return decoded.decoded.toStdString();
    }
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_array() || value.is_object()) {
        return value.dump();
    }
    return std::nullopt;
}

} // namespace

JsonFileUserDefaults::JsonFileUserDefaults(std::string path) : path_(std::move(path)) {
    load();
}

std::string JsonFileUserDefaults::defaultPath() {
    return XdgDirectories::configHome() + "/velmora/defaults.json";
}

void JsonFileUserDefaults::load() {
    std::string readError;
    auto contents = readWholeFile(path_, &readError);
    if (!contents) {
        if (!readError.empty()) {
            fileInaccessible_ = true;
            std::cerr << "Velmora: the settings file could not be read (" << readError
                      << "); starting with default settings, and no setting will be saved over "
                         "it until it can be read."
                      << std::endl;
        }
        return;
    }
    if (contents->empty()) {
        return;
    }
    Json document = parsed(*contents);
    if (!document.is_discarded() && document.is_object()) {
        values_ = std::move(document);
        return;
    }
    const std::string reason = document.is_discarded() ? "it is not valid JSON, or nests too deeply"
                                                       : "it holds JSON that is not an object";
    unreadableContents_ = std::move(*contents);
    if (auto error = keepUnreadableFileAside()) {
        std::cerr << "Velmora: the settings file " << path_ << " could not be read (" << reason
                  << ") nor copied aside (" << *error
                  << "); starting with default settings, and no setting will be saved over it "
                     "until it can be copied aside."
                  << std::endl;
    } else {
        std::cerr << "Velmora: the settings file " << path_ << " could not be read (" << reason
                  << "); it was copied to " << keptAsideAs_
                  << " and Velmora starts with default settings." << std::endl;
    }
}

std::optional<std::string> JsonFileUserDefaults::keepUnreadableFileAside() {
    if (!unreadableContents_) {
        return std::nullopt;
    }
    std::string copy = path_ + ".unreadable";
    for (int number = 2;; ++number) {
        std::string existingError;
        const auto existing = readWholeFile(copy, &existingError);
        if (existing && *existing == *unreadableContents_) {
            break;
        }
        if (!existing && existingError.empty()) {
            if (auto error = writeNewFile(copy, *unreadableContents_, 0600)) {
                return error;
            }
            break;
        }
        copy = path_ + ".unreadable." + std::to_string(number);
    }
    keptAsideAs_ = copy;
    unreadableContents_.reset();
    return std::nullopt;
}

std::optional<std::string> JsonFileUserDefaults::data(std::string_view key) const {
    const auto it = values_.find(std::string(key));
    if (it == values_.end()) {
        return std::nullopt;
    }
    return decodeData(*it);
}

bool JsonFileUserDefaults::setData(std::string_view key, std::string bytes) {
    Json values = values_;
    values[std::string(key)] = encodeData(bytes);
    return store(std::move(values));
}

std::optional<bool> JsonFileUserDefaults::boolean(std::string_view key) const {
    const auto it = values_.find(std::string(key));
    if (it == values_.end() || !it->is_boolean()) {
        return std::nullopt;
    }
    return it->get<bool>();
}

bool JsonFileUserDefaults::setBool(std::string_view key, bool value) {
    Json values = values_;
    values[std::string(key)] = value;
    return store(std::move(values));
}

void JsonFileUserDefaults::remove(std::string_view key) {
    if (!values_.contains(std::string(key))) {
        return;
    }
    Json values = values_;
    values.erase(std::string(key));
    store(std::move(values));
}

bool JsonFileUserDefaults::store(Json values) {
    if (fileInaccessible_ || keepUnreadableFileAside()) {
        return false;
    }
    if (writeFileAtomically(path_, values.dump(4) + "\n", 0600)) {
        return false;
    }
    values_ = std::move(values);
    return true;
}

} // namespace velmora
