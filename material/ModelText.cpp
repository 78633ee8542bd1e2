#include "ModelText.h"

#include "ModelWalk.h"

namespace tintara {
namespace {

constexpr const char* Replacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr const char* EmDash = "\xE2\x80\x94";
constexpr const char* EnDash = "\xE2\x80\x93";
constexpr const char* NotDrawnText = "Not drawn by the model's code";

// Length of the valid UTF-8 sequence at the start of `s`, 0 when it is not one.
std::size_t Utf8Length(std::span<const unsigned char> s) {
    const unsigned char c = s[0];
    std::size_t length = 0;
    unsigned minimum = 0, value = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        length = 2, minimum = 0x80, value = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF)
        length = 3, minimum = 0x800, value = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4)
        length = 4, minimum = 0x10000, value = c & 0x07;
    else
        return 0;
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (s[i] & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value >= minimum && value <= 0x10FFFF && !surrogate ? length : 0;
}

} // namespace

std::string TextureNameText(std::span<const unsigned char> field) {
    std::string text;
    std::size_t end = 0;
    while (end < field.size() && field[end] != 0)
        ++end;
    for (std::size_t i = 0; i < end;) {
        const std::size_t length = Utf8Length(field.subspan(i, end - i));
        if (length == 0) {
            text += Replacement;
            ++i;
        } else {
            text.append(reinterpret_cast<const char*>(&field[i]), length);
            i += length;
        }
    }
    return text;
}

std::string ThousandsText(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string LevelsText(const std::vector<int>& levels) {
    std::string text;
    for (std::size_t i = 0; i < levels.size();) {
        std::size_t last = i;
        while (last + 1 < levels.size() && levels[last + 1] == levels[last] + 1)
            ++last;
        if (!text.empty())
            text += ", ";
        text += std::to_string(levels[i]);
        if (last > i)
            text += EnDash + std::to_string(levels[last]);
        i = last + 1;
    }
    return text;
}

std::string MaterialUseText(const ModelWalk& walk, std::size_t record) {
    if (!walk.walked)
        return walk.problem;
    if (record >= walk.uses.size() || !walk.uses[record].selected)
        return NotDrawnText;
    const MaterialUse& use = walk.uses[record];
    std::string text;
    for (const std::string& name : use.textures)
        text += (text.empty() ? "" : ", ") + name;
    if (text.empty())
        text = "No texture";
    text += std::string(" ") + EmDash + " " + ThousandsText(use.triangles) +
            (use.triangles == 1 ? " triangle" : " triangles");
    if (!use.detailLevels.empty())
        text += (use.detailLevels.size() == 1 ? ", detail level " : ", detail levels ") +
                LevelsText(use.detailLevels);
    return text;
}

} // namespace tintara
