#include "Platform/Mac/MacApplicationPicker.hpp"

#include "Platform/Mac/MacText.hpp"

#import <AppKit/AppKit.h>
#import <UniformTypeIdentifiers/UniformTypeIdentifiers.h>

namespace velmora {

MacApplicationPicker::MacApplicationPicker(std::shared_ptr<RunLoop> runLoop)
    : runLoop_(std::move(runLoop)) {}

void MacApplicationPicker::pickApplication(Completion completion) {
    NSOpenPanel* panel = [NSOpenPanel openPanel];
    panel.title = @"Select an Application";
    panel.message = @"Choose an application to protect with Velmora";
    panel.allowedContentTypes = @[ UTTypeApplicationBundle ];
    panel.allowsMultipleSelection = NO;
    panel.canChooseDirectories = NO;
    panel.canChooseFiles = YES;
    panel.directoryURL = [NSURL fileURLWithPath:@"/Applications" isDirectory:YES];

    std::shared_ptr<RunLoop> runLoop = runLoop_;
    [panel beginWithCompletionHandler:^(NSModalResponse response) {
      std::optional<std::string> path;
      if (response == NSModalResponseOK && panel.URL) {
          path = optionalString(panel.URL.path);
      }
      runLoop->post([completion, path] { completion(path); });
    }];
}

} // namespace velmora
