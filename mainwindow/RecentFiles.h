#pragma once
// The files opened last, newest first, kept between runs as one more settings value,
// "Recent": the full paths, one per line.

#include <QString>
#include <QStringList>

namespace tintara {

class SettingsStore;

class RecentFiles {
public:
    static constexpr int MaxCount = 8;
    static const QString& SettingName();

    const QStringList& Paths() const { return m_paths; }
    // Puts the path first, once.
    void Add(const QString& path);
    void Remove(const QString& path);

    // A value that cannot be read gives an empty list; it is not worth a message.
    void Read(const SettingsStore& settings);
    // Throws SettingsError when the value cannot be written.
    void Write(SettingsStore& settings) const;

private:
    QStringList m_paths;
};

} // namespace tintara
