#pragma once
// Asks the user for a colour. The real implementation runs the system's colour
// dialog; tests put a stand-in in its place. Colours are screen colour values:
// red + 256 x green + 65536 x blue.

#include <cstdint>
#include <optional>

class QWidget;

namespace tintara {

class ColourChooser {
public:
    virtual ~ColourChooser() = default;
    // Runs modally, starting from `initial` (only its low three bytes count); nothing
    // when the user cancels.
    virtual std::optional<std::int32_t> ChooseColour(QWidget* owner, std::int32_t initial) = 0;
};

// The system's colour dialog with its custom-colour part open; any colour may be
// chosen, not only solid ones.
class SystemColourChooser final : public ColourChooser {
public:
    std::optional<std::int32_t> ChooseColour(QWidget* owner, std::int32_t initial) override;
};

} // namespace tintara
