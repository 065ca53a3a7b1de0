#include "Platform/Linux/AtomicFile.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

std::string describe(int error, const std::string& path) {
    return std::string(std::strerror(error)) + ": " + path;
}

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// Makes the rename itself durable.
void syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view contents,
                                               unsigned permissions) {
    const std::filesystem::path target(path);
    const std::string directory =
        target.has_parent_path() ? target.parent_path().string() : std::string(".");
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) {
        return describe(ec.value(), directory);
    }

    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return describe(errno, directory);
    }
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return describe(error, path);
    };
    if (::fchmod(fd, permissions) != 0 || !writeAll(fd, contents) || ::fsync(fd) != 0) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return describe(error, path);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return describe(error, path);
    }
    syncDirectory(directory);
    return std::nullopt;
}

std::optional<std::string> writeNewFile(const std::string& path, std::string_view contents,
                                        unsigned permissions) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    if (fd < 0) {
        return describe(errno, path);
    }
    if (!writeAll(fd, contents) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return describe(error, path);
    }
    ::close(fd);
    return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string* error) {
    if (error) {
        error->clear();
    }
    // Non-blocking, so that a FIFO in the file's place cannot hang the caller.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR && error) {
            *error = describe(errno, path);
        }
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (error) {
            *error = "Not a regular file: " + path;
        }
        ::close(fd);
        return std::nullopt;
    }
    std::string contents;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            if (error) {
                *error = describe(errno, path);
            }
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return contents;
}

} // namespace velmora
