#include "Platform/Mac/SparkleLookup.hpp"

namespace velmora {

namespace {

const char* summary(SparkleLookupFailure failure) {
    switch (failure) {
    case SparkleLookupFailure::frameworkMissing:
        return "Sparkle.framework not found";
    case SparkleLookupFailure::frameworkNotLoaded:
        return "Sparkle.framework could not be loaded";
    case SparkleLookupFailure::controllerClassMissing:
        return "SPUStandardUpdaterController not found in Sparkle.framework";
    case SparkleLookupFailure::controllerUnusable:
        return "SPUStandardUpdaterController did not provide an updater";
    }
    return "Sparkle is unavailable";
}

} // namespace

std::string describe(SparkleLookupFailure failure, const std::string& detail) {
    std::string text = summary(failure);
    if (!detail.empty()) {
        text += " (";
        text += detail;
        text += ")";
    }
    return text;
}

} // namespace velmora
