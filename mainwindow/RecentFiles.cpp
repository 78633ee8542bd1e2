#include "mainwindow/RecentFiles.h"

#include "framework/SettingsStore.h"
#include "mainwindow/SettingNames.h"

namespace tintara {

const QString& RecentFiles::SettingName() {
    static const QString name = setting::Recent;
    return name;
}

void RecentFiles::Add(const QString& path) {
    m_paths.removeAll(path);
    m_paths.prepend(path);
    while (m_paths.size() > MaxCount)
        m_paths.removeLast();
}

void RecentFiles::Remove(const QString& path) {
    m_paths.removeAll(path);
}

void RecentFiles::Read(const SettingsStore& settings) {
    m_paths.clear();
    try {
        const QStringList stored = settings.ReadString(SettingName(), QString())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& path : stored)
            if (m_paths.size() < MaxCount && !m_paths.contains(path))
                m_paths.append(path);
    } catch (const SettingsError&) {
    }
}

void RecentFiles::Write(SettingsStore& settings) const {
    settings.WriteString(SettingName(), m_paths.join(QLatin1Char('\n')));
}

} // namespace tintara
