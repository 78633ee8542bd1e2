#pragma once
// Text for the terminal: file names can hold any byte, and control characters among
// them must not drive the terminal.

#include <ostream>
#include <string>
#include <string_view>

namespace tintara::cli {

// Length of the valid UTF-8 sequence at the start of `text` (not empty), or 0.
std::size_t Utf8SequenceLength(std::string_view text);

// `text` with every control character (C0, DEL, C1) and every byte that is not UTF-8
// written as \xNN.
std::string ForTerminal(std::string_view text);

// One line on standard error: "tintara-cli: " and the message, for the terminal.
void ReportError(std::ostream& err, std::string_view message);

} // namespace tintara::cli
