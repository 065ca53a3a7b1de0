#include "Platform/Mac/MacSystemLog.hpp"

#include "Platform/Mac/MacText.hpp"

namespace velmora {

void MacSystemLog::log(std::string_view line) {
    NSString* text = toNSString(std::string(line));
    // The line is data, never a format.
    NSLog(@"%@", text ?: @"(line not in UTF-8)");
}

} // namespace velmora
