#include "mainwindow/WindowPlacement.h"

#include "framework/SettingsStore.h"

#include <QStringList>

namespace tintara {
namespace {

// Larger than any screen, small enough that left + width stays an int.
constexpr int Largest = 100000;

} // namespace

std::optional<QRect> WindowPlacement::Parse(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || values[i] < -Largest || values[i] > Largest)
            return std::nullopt;
    }
    if (values[2] < 1 || values[3] < 1)
        return std::nullopt;
    return QRect(values[0], values[1], values[2], values[3]);
}

void WindowPlacement::Read(const SettingsStore& settings) {
    m_place.reset();
    try {
        m_place = Parse(settings.ReadString(m_name, QString()));
    } catch (const SettingsError&) {
    }
}

void WindowPlacement::Write(SettingsStore& settings) const {
    if (!m_place)
        return;
    settings.WriteString(m_name, QStringLiteral("%1,%2,%3,%4")
                                     .arg(m_place->left())
                                     .arg(m_place->top())
                                     .arg(m_place->width())
                                     .arg(m_place->height()));
}

} // namespace tintara
