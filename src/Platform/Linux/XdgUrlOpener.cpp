#include "Platform/Linux/XdgUrlOpener.hpp"

#include <QProcess>
#include <QUrl>

namespace velmora {

XdgUrlOpener::XdgUrlOpener(std::string opener) : opener_(std::move(opener)) {}

bool XdgUrlOpener::open(const std::string& url) {
    const QString text = QString::fromStdString(url);
    const QUrl parsed(text, QUrl::StrictMode);
    // A scheme is required, which also rules out text the opener would take for an option.
    if (!parsed.isValid() || parsed.isRelative() || text.trimmed() != text) {
        return false;
    }
    return QProcess::startDetached(QString::fromStdString(opener_), {text});
}

} // namespace velmora
