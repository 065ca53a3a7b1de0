#pragma once

#include <cstddef>
#include <string.h>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

/// A password in memory: wiped when it goes away, moved but never copied.
///
///     SecretBuffer password(field.text());
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
