#include "framework/FileVersion.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <vector>
#endif

namespace tintara {

ProductVersion MakeProductVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t build,
                                  std::uint16_t release) {
    return {std::uint32_t{major} << 16 | minor, std::uint32_t{build} << 16 | release};
}

QString VersionText(ProductVersion version) {
    const auto major = version.mostSignificant >> 16;
    const auto leastSignificant = static_cast<std::int32_t>(version.leastSignificant);
    return QString::number(major) + QLatin1String(".00.") + QString::number(leastSignificant);
}

#ifdef Q_OS_WIN

// The version resource's fixed part. A bare name is searched for the way the loader
// searches for libraries, so the versions are those the program would load.
std::optional<ProductVersion> ReadProductVersion(const QString& filePath) {
    const auto path = reinterpret_cast<const wchar_t*>(filePath.utf16());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> buffer(size);
    if (!GetFileVersionInfoW(path, 0, size, buffer.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return ProductVersion{info->dwProductVersionMS, info->dwProductVersionLS};
}

#else

std::optional<ProductVersion> ReadProductVersion(const QString& filePath) {
    QFile file(filePath);
    if (filePath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ReadElfProductVersion(file);
}

#endif

std::optional<QString> FileVersionText(const QString& filePath) {
    if (const auto version = ReadProductVersion(filePath))
        return VersionText(*version);
    return std::nullopt;
}

} // namespace tintara
