#include "WaylandTestClient.hpp"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <set>
#include <unistd.h>
#include <vector>

namespace velmora::e2e {
namespace {

class Log {
public:
    explicit Log(const std::optional<std::string>& path)
        : fd_(path ? ::open(path->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1) {}
    ~Log() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    void line(const std::string& text) const {
        const std::string withBreak = text + "\n";
        // One write per line on an O_APPEND descriptor: readers never see half a line.
        [[maybe_unused]] const ssize_t written = ::write(fd_, withBreak.data(), withBreak.size());
    }

private:
    int fd_;
};

class Window final : public QRasterWindow {
public:
    Window(QColor color, int index, const Log& log, std::function<void(Window*)> exposed)
        : color_(color), index_(index), log_(log), exposed_(std::move(exposed)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(0, 0), size()), color_);
        exposed_(this);
    }
    void keyPressEvent(QKeyEvent* event) override {
        log_.line("key " + std::to_string(event->nativeScanCode()));
    }
    void mousePressEvent(QMouseEvent* event) override {
        const int button = event->button() == Qt::RightButton    ? 3
                           : event->button() == Qt::MiddleButton ? 2
                                                                 : 1;
        logButton(button);
    }
    void wheelEvent(QWheelEvent* event) override {
        const QPoint delta = event->angleDelta();
        logButton(delta.y() > 0 ? 4 : delta.y() < 0 ? 5 : delta.x() > 0 ? 6 : 7);
    }

private:
    void logButton(int button) {
        log_.line("button " + std::to_string(button) + " window " + std::to_string(index_));
    }

    QColor color_;
    int index_;
    const Log& log_;
    std::function<void(Window*)> exposed_;
};

void writeReadyFile(const std::string& path) {
    // Written under another name and renamed, so a reader never sees a partial file.
    const std::string temporary = path + ".tmp";
    if (FILE* file = std::fopen(temporary.c_str(), "w")) {
        std::fprintf(file, "%d\n", static_cast<int>(getpid()));
        std::fclose(file);
        std::rename(temporary.c_str(), path.c_str());
    }
}

} // namespace

int runWaylandTestClient(const TestClientOptions& options, int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    // Plain windows of one colour: the compositor draws no decorations around them.
    qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    QGuiApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(
        QString::fromStdString(options.appId.value_or(options.wmClass)));
    const Log log(options.logFile);
    const QColor color(static_cast<QRgb>(options.rgb));
    std::set<Window*> notYetExposed;
    std::vector<std::unique_ptr<Window>> windows;
    const auto open = [&](int index, const std::string& title) {
        windows.push_back(std::make_unique<Window>(color, index, log, [&](Window* window) {
            if (notYetExposed.erase(window) > 0 && notYetExposed.empty() && options.readyFile) {
                writeReadyFile(*options.readyFile);
            }
        }));
        Window& window = *windows.back();
        notYetExposed.insert(&window);
        window.setTitle(QString::fromStdString(title));
        window.resize(options.width, options.height);
        window.show();
    };
    for (int i = 0; i < options.windows; ++i) {
        open(i, options.windows == 1 ? options.title : options.title + " " + std::to_string(i + 1));
    }
    if (options.openWindowAfterMs) {
        QTimer::singleShot(*options.openWindowAfterMs, [&] {
            const int index = static_cast<int>(windows.size());
            open(index, options.title + " " + std::to_string(index + 1));
        });
    }
    return QGuiApplication::exec();
}

} // namespace velmora::e2e
