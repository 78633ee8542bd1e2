#include "CliArgs.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <set>

namespace tintara::cli {
namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A whole decimal number without sign, or nullopt.
std::optional<unsigned long long> ParseWhole(std::string_view text) {
    unsigned long long value = 0;
    if (text.empty())
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> ParsedArgs::value(const std::string& name) const {
    for (const auto& [key, value] : options)
        if (key == name)
            return value;
    return std::nullopt;
}

bool ParsedArgs::has(const std::string& name) const {
    return value(name).has_value();
}

ParsedArgs ParseArgs(const std::vector<std::string>& words, const std::vector<std::string>& valued,
                     const std::vector<std::string>& flags) {
    ParsedArgs parsed;
    bool onlyPositional = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyPositional || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            parsed.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            onlyPositional = true;
            continue;
        }
        if (word == "--help") {
            parsed.help = true;
            continue;
        }
        const auto equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (Contains(flags, name)) {
            if (equals != std::string::npos)
                throw BadInput("option " + name + " takes no value");
            parsed.options.emplace_back(name, "");
        } else if (Contains(valued, name)) {
            std::string value;
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
            } else if (i + 1 < words.size()) {
                value = words[++i];
            } else {
                throw BadInput("option " + name + " needs a value");
            }
            if (parsed.has(name))
                throw BadInput("option " + name + " given twice");
            parsed.options.emplace_back(name, value);
        } else {
            throw BadInput("unknown option " + name);
        }
    }
    return parsed;
}

std::string RequireOneFile(const ParsedArgs& args) {
    if (args.positional.empty())
        throw BadInput("no FILE given");
    if (args.positional.size() > 1)
        throw BadInput("unexpected argument '" + args.positional[1] + "'");
    return args.positional.front();
}

std::vector<MaterialRange> ParseMaterialRanges(const std::string& text) {
    std::vector<MaterialRange> ranges;
    std::size_t start = 0;
    if (text.empty())
        throw BadInput("--materials needs material numbers, like 3 or 1,4-6");
    while (start <= text.size()) {
        const auto comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const auto dash = item.find('-');
        const auto first = ParseWhole(item.substr(0, dash));
        const auto last = dash == std::string::npos ? first : ParseWhole(item.substr(dash + 1));
        if (!first || !last || *last < *first)
            throw BadInput("malformed material list '" + text + "' (use numbers like 3 or 1,4-6)");
        if (*first < 1)
            throw BadInput("material 0 is not in the table (materials are numbered from 1)");
        ranges.push_back({*first, *last});
        start = comma + 1;
    }
    return ranges;
}

std::vector<std::size_t> ExpandMaterialRanges(const std::vector<MaterialRange>& ranges,
                                              std::size_t count) {
    std::set<std::size_t> numbers;
    for (const MaterialRange& range : ranges) {
        if (range.last > count)
            throw BadInput("material " + std::to_string(range.last) +
                           " is not in the table (it holds " + std::to_string(count) +
                           " materials, numbered from 1)");
        for (auto n = range.first; n <= range.last; ++n)
            numbers.insert(static_cast<std::size_t>(n));
    }
    return {numbers.begin(), numbers.end()};
}

std::array<int, 4> ParseChannels(const std::string& option, const std::string& text) {
    std::array<int, 4> channels{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            throw BadInput(option + " needs four values R,G,B,A, got '" + text + "'");
        const auto value = ParseWhole(std::string_view(text).substr(start, comma - start));
        if (!value || *value > 255)
            throw BadInput(option + " values must be whole numbers from 0 to 255, got '" + text +
                           "'");
        channels[i] = static_cast<int>(*value);
        start = comma + 1;
    }
    return channels;
}

double ParseNumber(const std::string& option, const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        throw BadInput(option + " needs a number, got '" + text + "'");
    return value;
}

} // namespace tintara::cli
