#include "Platform/Mac/MacAccessibilityTrust.hpp"

#import <ApplicationServices/ApplicationServices.h>

namespace velmora {

bool MacAccessibilityTrust::isProcessTrusted() const {
    return AXIsProcessTrusted();
}

} // namespace velmora
