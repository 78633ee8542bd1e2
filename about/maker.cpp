#include "about/maker.h"

namespace tintara::about {
namespace {

#ifdef Q_OS_WIN
QString libraryName(const char* stem) {
    return QLatin1String(stem) + QLatin1String(".dll");
}
QString programName(const char* stem) {
    return QLatin1String(stem) + QLatin1String(".exe");
}
#else
QString libraryName(const char* stem) {
    return QLatin1String("lib") + QLatin1String(stem) + QLatin1String(".so");
}
QString programName(const char* stem) {
    return QLatin1String(stem);
}
#endif

LibraryEntry entry(const QString& fileName, const char* role) {
    return {fileName, fileName + QLatin1String("\n\n") + QLatin1String(role)};
}

} // namespace

const std::array<LibraryEntry, LibraryCount>& LibraryTable() {
    static const std::array<LibraryEntry, LibraryCount> table = {
        entry(libraryName("nvbmp"), "Reads and converts the bitmaps\nused as model textures."),
        entry(libraryName("nvclr"), "Colour choosing and palette handling."),
        entry(libraryName("nvio"), "Buffered file access shared by\nall Norvel Graphics programs."),
        entry(libraryName("nvmdl"), "Reads and writes aircraft model files."),
        entry(libraryName("nvbgl"), "Reads and writes scenery files."),
        entry(libraryName("nvmth"), "Vector and matrix arithmetic."),
        entry(libraryName("nvreg"), "Keeps each program's settings."),
        entry(libraryName("nvui"), "Common dialogs and controls."),
        entry(programName("nvupdt"),
              "Checks for newer versions of\nthese libraries and installs them."),
    };
    return table;
}

QString WebAddress() {
    return QStringLiteral("https://example.org/tintara");
}

QString ContactMailLink() {
    return QStringLiteral("mailto:tintara@example.org");
}

} // namespace tintara::about
