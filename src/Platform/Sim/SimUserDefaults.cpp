#include "Platform/Sim/SimUserDefaults.hpp"

namespace velmora {

std::optional<std::string> SimUserDefaults::data(std::string_view key) const {
    const auto it = values_.find(key);
    if (it == values_.end() || !std::holds_alternative<std::string>(it->second)) {
        return std::nullopt;
    }
    return std::get<std::string>(it->second);
}

bool SimUserDefaults::setData(std::string_view key, std::string bytes) {
    return store(key, std::move(bytes));
}

std::optional<bool> SimUserDefaults::boolean(std::string_view key) const {
    const auto it = values_.find(key);
    if (it == values_.end() || !std::holds_alternative<bool>(it->second)) {
        return std::nullopt;
    }
    return std::get<bool>(it->second);
}

bool SimUserDefaults::setBool(std::string_view key, bool value) {
    return store(key, value);
}

void SimUserDefaults::remove(std::string_view key) {
    writes_.emplace_back(key);
    if (readOnly_) {
        return;
    }
    if (const auto it = values_.find(key); it != values_.end()) {
        values_.erase(it);
    }
}

bool SimUserDefaults::contains(std::string_view key) const {
    return values_.contains(key);
}

bool SimUserDefaults::store(std::string_view key, Value value) {
    writes_.emplace_back(key);
    if (readOnly_) {
        return false;
    }
    values_.insert_or_assign(std::string(key), std::move(value));
    return true;
}

} // namespace velmora
