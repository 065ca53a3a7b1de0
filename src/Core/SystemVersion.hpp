#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The operating system's version for the log header, e.g.
/// "Debian GNU/Linux 12 (bookworm), kernel 6.1.0-18-amd64" or, on macOS,
/// "Version 14.5 (Build 23F79)".
std::string currentSystemVersion();

/// The version text from the contents of os-release and the kernel release; either may be empty.
std::string systemVersionFrom(std::string_view osRelease, std::string_view kernelRelease);

} // namespace velmora
