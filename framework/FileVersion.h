#pragma once
// Product version of an executable or library file, read without loading or running it.
//
// On Windows the file's version resource is read. Elsewhere our build embeds a small
// ELF note (owner "Tintara", type 1, section ".note.tintara.version") holding the same
// two 32-bit words as the resource's product version; see cmake/TintaraVersion.cmake.

#include <QString>

#include <cstdint>
#include <optional>

class QIODevice;

namespace tintara {

struct ProductVersion {
    std::uint32_t mostSignificant = 0;  // major << 16 | minor
    std::uint32_t leastSignificant = 0; // build << 16 | release

    friend bool operator==(const ProductVersion&, const ProductVersion&) = default;
};

ProductVersion MakeProductVersion(std::uint16_t major, std::uint16_t minor, std::uint16_t build,
                                  std::uint16_t release);

// The version as the About window shows it: the major number, the literal ".00.", then
// the whole least significant word as a signed decimal (1.0.1.0 reads "1.00.65536").
QString VersionText(ProductVersion version);

// Reads the version record of the file at `filePath`; nothing when the file is missing,
// unreadable or carries no record.
std::optional<ProductVersion> ReadProductVersion(const QString& filePath);

// VersionText() of ReadProductVersion(), or nothing.
std::optional<QString> FileVersionText(const QString& filePath);

// Finds our version note in an ELF image read from `device` (positioned anywhere).
// Every offset and size taken from the image is checked against the device's size, so
// truncated or hostile files simply yield nothing.
std::optional<ProductVersion> ReadElfProductVersion(QIODevice& device);

} // namespace tintara
