#pragma once

#include <QQuickImageProvider>

namespace velmora {

/// Serves the icons of protected applications to QML: a desktop entry's `Icon=` value, an
/// icon-theme name or an absolute image path.
///
///     engine.addImageProvider("appicon", new ApplicationIconImageProvider);
///     Image { source: ApplicationIconImageProvider::source("org.gnome.TextEditor") }
///
/// An icon the theme does not have gives an empty image, so the placeholder shows through.
class ApplicationIconImageProvider final : public QQuickImageProvider {
public:
    static constexpr const char* providerId = "appicon";

    ApplicationIconImageProvider();
    /// The "image://appicon/..." address of an icon.
    [[nodiscard]] static QString source(const QString& icon);

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};

} // namespace velmora
