#include "Platform/Mac/MacMainBundle.hpp"

#include "Platform/Mac/MacText.hpp"

namespace velmora {

std::optional<std::string> MacMainBundle::bundleIdentifier() const {
    return optionalString([NSBundle mainBundle].bundleIdentifier);
}

std::optional<std::string> MacMainBundle::bundlePath() const {
    return optionalString([NSBundle mainBundle].bundlePath);
}

std::optional<std::string> MacMainBundle::executablePath() const {
    return optionalString([NSBundle mainBundle].executablePath);
}

} // namespace velmora
