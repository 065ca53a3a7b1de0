#pragma once

#include <QQuickImageProvider>

namespace velmora {

/// Serves the icons of applications to QML: a desktop entry's `Icon=` value, an icon-theme
/// name or an absolute image path, scaled to fill the asked size and clipped to rounded
/// corners.
///
///     engine.addImageProvider("appicon", new ApplicationIconImageProvider);
///     Image { source: ApplicationIconImageProvider::source("org.gnome.TextEditor", 8.0 / 35) }
class ApplicationIconImageProvider final : public QQuickImageProvider {
public:
    static constexpr const char* providerId = "appicon";

    ApplicationIconImageProvider();
    /// The "image://appicon/..." address of an icon with corners of `cornerRatio` of its side;
    /// empty when neither the icon theme nor the file system has it, so that a placeholder
    /// shows instead of nothing.
    [[nodiscard]] static QString source(const QString& icon, double cornerRatio);

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};

} // namespace velmora
