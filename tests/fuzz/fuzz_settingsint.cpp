// The settings' integer text conversion: any text must convert or be refused without
// a crash, and a converted decimal text must agree with its own reading.

#include "framework/SettingsStore.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<int> value = tintara::SettingsStore::ParseInteger(text);
    if (value) {
        // What is written back must read as the same value.
        const std::optional<int> again =
            tintara::SettingsStore::ParseInteger(QString::number(*value));
        if (!again || *again != *value)
            std::abort();
    }
    return 0;
}
