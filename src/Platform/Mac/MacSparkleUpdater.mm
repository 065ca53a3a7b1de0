#include "Platform/Mac/MacSparkleUpdater.hpp"

#include "Platform/Mac/MacText.hpp"
#include "Platform/Mac/RunLoopDelivery.hpp"
#include "Platform/Mac/SparkleLookup.hpp"
#include "Platform/Mac/UnavailableUpdater.hpp"

#import <Foundation/Foundation.h>

/// The parts of Sparkle's `SPUUpdater` this program calls; the framework is found at run
/// time, so its headers are not used.
@protocol VLMSparkleUpdater <NSObject>
@property(nonatomic) BOOL automaticallyChecksForUpdates;
@property(nonatomic, readonly) BOOL canCheckForUpdates;
- (BOOL)startUpdater:(NSError**)error;
- (void)checkForUpdates;
@end

/// The parts of Sparkle's `SPUStandardUpdaterController` this program calls.
@protocol VLMSparkleUpdaterController <NSObject>
- (instancetype)initWithStartingUpdater:(BOOL)startUpdater
                        updaterDelegate:(id)updaterDelegate
                     userDriverDelegate:(id)userDriverDelegate;
@property(nonatomic, readonly) id<VLMSparkleUpdater> updater;
@end

/// Hands each new value of an observed key to a block.
@interface VLMValueObserver : NSObject
- (instancetype)initWithHandler:(void (^)(id value))handler;
@end

@implementation VLMValueObserver {
    void (^_handler)(id);
}

- (instancetype)initWithHandler:(void (^)(id value))handler {
    if ((self = [super init])) {
        _handler = handler;
    }
    return self;
}

- (void)observeValueForKeyPath:(NSString*)keyPath
                      ofObject:(id)object
                        change:(NSDictionary<NSKeyValueChangeKey, id>*)change
                       context:(void*)context {
    _handler(change[NSKeyValueChangeNewKey]);
}

@end

namespace velmora {

namespace {

NSString* const kCanCheckKey = @"canCheckForUpdates";

class SparkleUpdater final : public Updater {
public:
    SparkleUpdater(id<VLMSparkleUpdaterController> controller, std::shared_ptr<RunLoop> runLoop)
        : controller_(controller), runLoop_(std::move(runLoop)) {}

    void setAutomaticallyChecksForUpdates(bool enabled) override {
        controller_.updater.automaticallyChecksForUpdates = enabled;
    }

    std::optional<std::string> startUpdater() override {
        NSError* error = nil;
        if ([controller_.updater startUpdater:&error]) {
            return std::nullopt;
        }
        return error ? toStdString(error.localizedDescription) : std::string("Unknown error");
    }

    [[nodiscard]] Subscription
    observeCanCheckForUpdates(std::function<void(bool)> observer) override {
        id<VLMSparkleUpdater> updater = controller_.updater;
        observer(updater.canCheckForUpdates);
        RunLoopDelivery delivery(runLoop_);
        VLMValueObserver* watcher = [[VLMValueObserver alloc] initWithHandler:^(id value) {
          const bool can = [value respondsToSelector:@selector(boolValue)] && [value boolValue];
          delivery.post([observer, can] { observer(can); });
        }];
        [static_cast<NSObject*>(updater) addObserver:watcher
                                          forKeyPath:kCanCheckKey
                                             options:NSKeyValueObservingOptionNew
                                             context:nullptr];
        return Subscription([updater, watcher, delivery]() mutable {
            delivery.cancel();
            [static_cast<NSObject*>(updater) removeObserver:watcher forKeyPath:kCanCheckKey];
        });
    }

    void checkForUpdates() override { [controller_.updater checkForUpdates]; }

private:
    id<VLMSparkleUpdaterController> controller_;
    std::shared_ptr<RunLoop> runLoop_;
};

std::shared_ptr<Updater> unavailable(SparkleLookupFailure failure, NSString* detail) {
    return std::make_shared<UnavailableUpdater>(describe(failure, toStdString(detail)));
}

bool answersAsUpdater(id updater) {
    return [updater respondsToSelector:@selector(setAutomaticallyChecksForUpdates:)] &&
           [updater respondsToSelector:@selector(canCheckForUpdates)] &&
           [updater respondsToSelector:@selector(startUpdater:)] &&
           [updater respondsToSelector:@selector(checkForUpdates)];
}

std::shared_ptr<Updater> lookUpSparkle(const std::shared_ptr<RunLoop>& runLoop) {
    NSString* path = [[NSBundle mainBundle].privateFrameworksPath
        stringByAppendingPathComponent:@"Sparkle.framework"];
    NSBundle* framework = path ? [NSBundle bundleWithPath:path] : nil;
    if (!framework) {
        return unavailable(SparkleLookupFailure::frameworkMissing, path);
    }
    NSError* error = nil;
    if (![framework loadAndReturnError:&error]) {
        return unavailable(SparkleLookupFailure::frameworkNotLoaded, error.localizedDescription);
    }
    Class controllerClass = NSClassFromString(@"SPUStandardUpdaterController");
    if (!controllerClass) {
        return unavailable(SparkleLookupFailure::controllerClassMissing, nil);
    }
    const SEL initializer = @selector(initWithStartingUpdater:updaterDelegate:userDriverDelegate:);
    if (![controllerClass instancesRespondToSelector:initializer] ||
        ![controllerClass instancesRespondToSelector:@selector(updater)]) {
        return unavailable(SparkleLookupFailure::controllerUnusable, nil);
    }
    id<VLMSparkleUpdaterController> controller =
        [static_cast<id<VLMSparkleUpdaterController>>([controllerClass alloc])
            initWithStartingUpdater:NO
                    updaterDelegate:nil
                 userDriverDelegate:nil];
    if (!controller || !answersAsUpdater(controller.updater)) {
        return unavailable(SparkleLookupFailure::controllerUnusable, nil);
    }
    return std::make_shared<SparkleUpdater>(controller, runLoop);
}

} // namespace

UpdaterFactory makeSparkleUpdaterFactory(std::shared_ptr<RunLoop> runLoop) {
    return [runLoop = std::move(runLoop)] { return lookUpSparkle(runLoop); };
}

} // namespace velmora
