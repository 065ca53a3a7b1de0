#pragma once

#include <QRasterWindow>

namespace velmora {

/// A plain black window of Velmora's own that the KWin script knows by its title and places
/// as a cover. Shown at once and never hidden: the script parks it, so that its first frame
/// is drawn long before it is needed. Gone when the application quits, before Qt ends.
///
///     auto* window = new KWinShieldWindow(shields.newToken());
///     shields.place(window->token(), number, frame, false);
class KWinShieldWindow final : public QRasterWindow {
    Q_OBJECT

public:
    explicit KWinShieldWindow(QString token);

    [[nodiscard]] const QString& token() const { return token_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString token_;
};

} // namespace velmora
