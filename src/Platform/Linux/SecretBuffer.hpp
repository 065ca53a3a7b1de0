#pragma once

#include <algorithm>
#include <cstddef>
#include <string.h>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

/// A password in memory: wiped when it goes away, moved but never copied. It grows without
/// leaving a copy behind: the old storage is wiped before it is let go.
///
///     SecretBuffer password(field.text());
///     password.append("!");
///     send(password.view());
///   } // wiped here
class SecretBuffer {
public:
    SecretBuffer() = default;
    explicit SecretBuffer(std::string_view text) : bytes_(text.begin(), text.end()) {}
    SecretBuffer(SecretBuffer&& other) noexcept : bytes_(std::move(other.bytes_)) {}
    SecretBuffer& operator=(SecretBuffer&& other) noexcept {
        if (this != &other) {
            wipe();
            bytes_ = std::move(other.bytes_);
        }
        return *this;
    }
    SecretBuffer(const SecretBuffer&) = delete;
    SecretBuffer& operator=(const SecretBuffer&) = delete;
    ~SecretBuffer() { wipe(); }

    [[nodiscard]] std::string_view view() const { return {bytes_.data(), bytes_.size()}; }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }
    /// Characters, counting each UTF-8 sequence once.
    [[nodiscard]] std::size_t characterCount() const {
        std::size_t count = 0;
        for (const char byte : bytes_) {
            count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
        }
        return count;
    }

    void append(std::string_view text) {
        if (bytes_.size() + text.size() > bytes_.capacity()) {
            std::vector<char> larger;
            larger.reserve(std::max<std::size_t>(64, 2 * (bytes_.size() + text.size())));
            larger.assign(bytes_.begin(), bytes_.end());
            wipe();
            bytes_.swap(larger);
        }
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    /// Removes the last character, a whole UTF-8 sequence.
    void removeLastCharacter() {
        while (!bytes_.empty()) {
            const auto byte = static_cast<unsigned char>(bytes_.back());
            bytes_.back() = 0;
            bytes_.pop_back();
            if ((byte & 0xC0) != 0x80) {
                return;
            }
        }
    }

    void wipe() {
        if (!bytes_.empty()) {
            explicit_bzero(bytes_.data(), bytes_.size());
        }
        bytes_.clear();
    }

private:
    std::vector<char> bytes_;
};

} // namespace velmora
