#pragma once
// The errors of the regular-file functions, shared by their Windows and POSIX halves.

#include "ByteSource.h"
#include "RegularFile.h"

namespace tintara::detail {

// "<what> '<file>': <the system's reason for the last failed call>".
[[noreturn]] inline void Fail(const std::string& what, const std::filesystem::path& path) {
    throw IoError(what + " '" + PathText(path) + "': " + LastSystemReason());
}

[[noreturn]] inline void NotRegular(const std::filesystem::path& path) {
    throw IoError("'" + PathText(path) + "' is not a regular file");
}

} // namespace tintara::detail
