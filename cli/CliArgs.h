#pragma once
// Parsing of the tool's arguments: options with values, material number lists,
// channel values and numbers. Every parse error is a BadInput with a one-line text.

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tintara::cli {

class BadInput : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command, split into options and positional arguments.
// `valued` names the options that take a value ("--show X" or "--show=X"); `flags`
// the ones that do not. Anything else starting with "--" is an unknown option.
struct ParsedArgs {
    std::vector<std::pair<std::string, std::string>> options; // in order given
    std::vector<std::string> positional;
    bool help = false;

    std::optional<std::string> value(const std::string& name) const;
    bool has(const std::string& name) const;
};

ParsedArgs ParseArgs(const std::vector<std::string>& words, const std::vector<std::string>& valued,
                     const std::vector<std::string>& flags);

// The single FILE argument of a command.
std::string RequireOneFile(const ParsedArgs& args);

// "3", "1,4-6": ranges of 1-based material numbers, checked for form alone (so before
// the file is read).
struct MaterialRange {
    unsigned long long first = 0;
    unsigned long long last = 0;
};
std::vector<MaterialRange> ParseMaterialRanges(const std::string& text);
// The numbers of the ranges, each from 1 to `count`, ascending and without repeats.
std::vector<std::size_t> ExpandMaterialRanges(const std::vector<MaterialRange>& ranges,
                                              std::size_t count);

// "R,G,B,A": four whole numbers from 0 to 255.
std::array<int, 4> ParseChannels(const std::string& option, const std::string& text);

// A finite decimal number.
double ParseNumber(const std::string& option, const std::string& text);

} // namespace tintara::cli
