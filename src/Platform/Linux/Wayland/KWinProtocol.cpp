#include "Platform/Linux/Wayland/KWinProtocol.hpp"

namespace velmora::kwin {
namespace {

// Numbers come from JavaScript as whatever type the engine chose: read any of them.
std::optional<double> number(const QVariantMap& map, const char* key) {
    bool ok = false;
    const double value = map.value(QLatin1String(key)).toDouble(&ok);
    return ok ? std::optional{value} : std::nullopt;
}

std::string text(const QVariantMap& map, const char* key) {
    return map.value(QLatin1String(key)).toString().toStdString();
}

bool flag(const QVariantMap& map, const char* key) {
    return map.value(QLatin1String(key)).toBool();
}

std::optional<WindowNumber> windowNumber(const QVariant& value) {
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok && number > 0 ? std::optional{static_cast<WindowNumber>(number)} : std::nullopt;
}

std::optional<Window> parseWindow(const QVariantMap& map) {
    const auto id = windowNumber(map.value(QStringLiteral("number")));
    const auto pid = number(map, "pid");
    const auto x = number(map, "x");
    const auto y = number(map, "y");
    const auto width = number(map, "width");
    const auto height = number(map, "height");
    if (!id || !pid || !x || !y || !width || !height) {
        return std::nullopt;
    }
    return Window{.number = *id,
                  .pid = static_cast<ProcessId>(*pid),
                  .desktopFile = text(map, "desktopFile"),
                  .resourceClass = text(map, "resourceClass"),
                  .resourceName = text(map, "resourceName"),
                  .frame = {*x, *y, *width, *height},
                  .stacking = static_cast<int>(number(map, "stacking").value_or(0)),
                  .layer = static_cast<int>(number(map, "layer").value_or(0)),
                  .normal = flag(map, "normal"),
                  .minimized = flag(map, "minimized"),
                  .visible = flag(map, "visible"),
                  .shield = flag(map, "shield"),
                  .locked = flag(map, "locked")};
}

QVariantMap command(const char* op, QVariantMap arguments = {}) {
    arguments.insert(QStringLiteral("op"), QLatin1String(op));
    return arguments;
}

QVariantMap windowCommand(const char* op, WindowNumber window) {
    return command(op, {{QStringLiteral("number"), static_cast<qulonglong>(window)}});
}

} // namespace

std::optional<Facts> parseFacts(const QVariantMap& map) {
    if (!map.contains(QStringLiteral("windows")) || !map.contains(QStringLiteral("closed"))) {
        return std::nullopt;
    }
    Facts facts;
    for (const QVariant& entry : map.value(QStringLiteral("windows")).toList()) {
        if (auto window = parseWindow(entry.toMap())) {
            facts.windows.push_back(std::move(*window));
        }
    }
    for (const QVariant& entry : map.value(QStringLiteral("closed")).toList()) {
        if (const auto closed = windowNumber(entry)) {
            facts.closed.push_back(*closed);
        }
    }
    bool ok = false;
    const qlonglong active = map.value(QStringLiteral("active")).toLongLong(&ok);
    if (ok && active >= 0) {
        facts.active = windowNumber(active);
    }
    return facts;
}

QVariantMap place(const QString& token, WindowNumber over, Rect frame, bool card) {
    return command("place", {{QStringLiteral("token"), token},
                             {QStringLiteral("over"), static_cast<qulonglong>(over)},
                             {QStringLiteral("x"), frame.x},
                             {QStringLiteral("y"), frame.y},
                             {QStringLiteral("width"), frame.width},
                             {QStringLiteral("height"), frame.height},
                             {QStringLiteral("card"), card}});
}

QVariantMap park(const QString& token) {
    return command("park", {{QStringLiteral("token"), token}});
}

QVariantMap release(WindowNumber window) {
    return windowCommand("release", window);
}

QVariantMap activate(WindowNumber window) {
    return windowCommand("activate", window);
}

QVariantMap hide(WindowNumber window) {
    return windowCommand("hide", window);
}

QVariantMap protect(const std::vector<ProcessId>& pids) {
    QVariantList list;
    for (const ProcessId pid : pids) {
        list.push_back(pid);
    }
    return command("protect", {{QStringLiteral("pids"), list}});
}

QVariantMap goodbye() {
    return command("goodbye");
}

} // namespace velmora::kwin
