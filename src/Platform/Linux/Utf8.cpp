#include "Platform/Linux/Utf8.hpp"

#include <QString>

namespace velmora {

std::string validUtf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

} // namespace velmora
