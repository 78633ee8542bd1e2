#pragma once
// The maker's own material shown by the About window: its web and e-mail addresses
// and the table of its shared libraries.

#include <QString>

#include <array>

namespace tintara::about {

struct LibraryEntry {
    QString fileName;    // bare name, at most 11 characters, no name the start of another
    QString description; // the file name, an empty line, then its role
};

inline constexpr int LibraryCount = 9;

// Eight shared libraries and one companion program, in the platform's naming.
const std::array<LibraryEntry, LibraryCount>& LibraryTable();

// The maker's web site, opened by the web buttons.
QString WebAddress();

// The maker's contact address as a "mailto:" link.
QString ContactMailLink();

} // namespace tintara::about
