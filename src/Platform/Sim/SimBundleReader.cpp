#include "Platform/Sim/SimBundleReader.hpp"

namespace velmora {

std::optional<ApplicationBundle> SimBundleReader::readBundle(const std::string& location) const {
    const auto it = bundles_.find(location);
    if (it == bundles_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void SimBundleReader::addBundle(std::string location, ApplicationBundle bundle) {
    bundles_.insert_or_assign(std::move(location), std::move(bundle));
}

} // namespace velmora
