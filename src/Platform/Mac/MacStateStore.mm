#include "Platform/Mac/MacStateStore.hpp"

#include "Platform/Mac/MacText.hpp"

#include <cstdlib>

namespace velmora {

namespace {

// Nil without a home, or for a name that is not a plain file name.
NSString* pathFor(std::string_view name) {
    const char* home = std::getenv("HOME");
    NSString* file = toNSString(std::string(name));
    if (home == nullptr || home[0] != '/' || file == nil || file.length == 0 ||
        [file hasPrefix:@"."] || [file containsString:@"/"]) {
        return nil;
    }
    NSString* folder =
        [toNSString(home) stringByAppendingPathComponent:@"Library/Application Support/Velmora"];
    return [folder stringByAppendingPathComponent:file];
}

} // namespace

std::optional<std::string> MacStateStore::read(std::string_view name) const {
    NSString* path = pathFor(name);
    NSData* bytes = path ? [NSData dataWithContentsOfFile:path] : nil;
    if (bytes == nil) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(bytes.bytes), bytes.length);
}

bool MacStateStore::write(std::string_view name, std::string_view contents) {
    NSString* path = pathFor(name);
    if (path == nil) {
        return false;
    }
    NSFileManager* files = [NSFileManager defaultManager];
    NSString* folder = [path stringByDeletingLastPathComponent];
    NSDictionary* ownerOnly = @{NSFilePosixPermissions : @0700};
    if (![files createDirectoryAtPath:folder
            withIntermediateDirectories:YES
                             attributes:ownerOnly
                                  error:nil] ||
        ![files setAttributes:ownerOnly ofItemAtPath:folder error:nil]) {
        return false;
    }
    NSData* bytes = [NSData dataWithBytes:contents.data() length:contents.size()];
    if (![bytes writeToFile:path options:NSDataWritingAtomic error:nil]) {
        return false;
    }
    return [files setAttributes:@{NSFilePosixPermissions : @0600} ofItemAtPath:path error:nil];
}

} // namespace velmora
