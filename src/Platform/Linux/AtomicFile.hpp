#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// Replaces a file's contents so that a crash or power cut leaves either the old or the new
/// contents, never a mix: a temporary file beside it, flushed, renamed over it, and the
/// directory flushed.
///
///     if (auto error = writeFileAtomically(path, text)) { report(*error); }
///
/// Missing parent directories are made. The answer is nothing on success, otherwise a
/// readable description such as "Permission denied: /home/me/.config/velmora".
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view contents,
                                               unsigned permissions = 0644);

/// Creates a file that must not exist yet, flushed to disk; a file, directory or link
/// already at `path` is never touched. Nothing on success, otherwise a readable description.
std::optional<std::string> writeNewFile(const std::string& path, std::string_view contents,
                                        unsigned permissions = 0644);

/// The whole contents of a regular file. Nothing when it does not exist; `error` (if given)
/// is set when something is there but cannot be read as a file, and left empty otherwise.
std::optional<std::string> readWholeFile(const std::string& path, std::string* error = nullptr);

} // namespace velmora
