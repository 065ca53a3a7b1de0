#pragma once

#include "Platform/CoverWindows.hpp"

#include <QPointer>
#include <memory>
#include <vector>

namespace velmora {

class KWinShields;
class KWinShieldWindow;

/// Covers on KDE Plasma's Wayland session: plain black windows of Velmora's own that the
/// KWin script places over the covered window and keeps above it. Made once and kept (a
/// window's first frame takes a few hundred milliseconds, a move one frame): a cover let go
/// is parked and handed out again. One is made at once, so that the script can tell at any
/// time whether Velmora is still there.
///
///     auto covers = std::make_shared<KWinCoverWindowFactory>(shields);
///     auto cover = covers->makeCover();
///     cover->show({entry.number, frame, 0});
class KWinCoverWindowFactory final : public CoverWindowFactory {
public:
    explicit KWinCoverWindowFactory(std::shared_ptr<KWinShields> shields);
    ~KWinCoverWindowFactory() override;

    [[nodiscard]] std::unique_ptr<CoverWindow> makeCover() override;

private:
    class Cover;
    using ParkedShields = std::vector<QPointer<KWinShieldWindow>>;

    std::shared_ptr<KWinShields> shields_;
    std::shared_ptr<ParkedShields> parked_;
};

} // namespace velmora
