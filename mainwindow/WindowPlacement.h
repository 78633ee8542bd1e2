#pragma once
// Where a window of its own was last: one settings value "left,top,width,height"
// (the frame's top left, the inside's size), read at start and written at close.

#include <QRect>
#include <QString>

#include <optional>

namespace tintara {

class SettingsStore;

class WindowPlacement {
public:
    explicit WindowPlacement(QString settingName) : m_name(std::move(settingName)) {}

    const QString& SettingName() const { return m_name; }
    const std::optional<QRect>& Place() const { return m_place; }
    void SetPlace(const QRect& place) { m_place = place; }

    // Four integers with a width and height of at least 1; anything else is no place.
    static std::optional<QRect> Parse(const QString& text);

    // A value that cannot be read or parsed gives no place; it is not worth a message.
    void Read(const SettingsStore& settings);
    // Writes nothing without a place. Throws SettingsError when the value cannot be
    // written.
    void Write(SettingsStore& settings) const;

private:
    QString m_name;
    std::optional<QRect> m_place;
};

} // namespace tintara
