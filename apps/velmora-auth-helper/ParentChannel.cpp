#include "ParentChannel.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace velmora::authhelper {

namespace {

/// "password 4096" and a little room.
constexpr std::size_t kMaxHeaderSize = 32;

} // namespace

bool ParentChannel::send(const HelperMessage& message) const {
    const std::string line = encodeHelperMessage(message);
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = write(output_, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool ParentChannel::readExactly(char* buffer, std::size_t size) const {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(input_, buffer + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

ParentChannel::Answer ParentChannel::readAnswer() const {
    using Kind = Answer::Kind;
    std::string header;
    char c = 0;
    while (true) {
        if (!readExactly(&c, 1)) {
            return {Kind::closed};
        }
        if (c == '\n') {
            break;
        }
        if (header.size() == kMaxHeaderSize) {
            return {Kind::malformed};
        }
        header += c;
    }

    const auto decoded = decodeAnswerHeader(header);
    if (!decoded) {
        return {Kind::malformed};
    }
    if (decoded->cancel) {
        return {Kind::cancel};
    }

    // The closing line break is read into the byte that becomes the terminating NUL.
    const std::size_t size = decoded->size;
    auto* password = static_cast<char*>(std::malloc(size + 1));
    if (!password) {
        return {Kind::malformed};
    }
    const bool complete = readExactly(password, size + 1);
    const bool wellFormed = complete && password[size] == '\n' && !std::memchr(password, 0, size);
    if (!wellFormed) {
        explicit_bzero(password, size + 1);
        std::free(password);
        return {complete ? Kind::malformed : Kind::closed};
    }
    password[size] = '\0';
    return {Kind::password, password};
}

} // namespace velmora::authhelper
