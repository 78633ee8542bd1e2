#pragma once
// The program's settings: text values in one section of the per-user store. On
// Windows the store is the registry key HKEY_CURRENT_USER\Software\Norvel\Tintarax
// (REG_SZ values, see RegistrySettings.h), elsewhere the per-user configuration file of
// organisation "Norvel", application "Tintarax". Integers are kept as their decimal text.

#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

class QSettings;

namespace tintara {

// A read or write that failed; the message names the value (or the section).
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the values live: the text values of one section. Reads and writes report what
// happened; the store turns that into the program's messages.
class SettingsBackend {
public:
    enum class ReadStatus { Text, Missing, NotText, Failed };
    struct ReadResult {
        ReadStatus status = ReadStatus::Missing;
        QString text;
    };
    enum class WriteStatus { Ok, SectionFailed, ValueFailed };

    virtual ~SettingsBackend() = default;
    virtual ReadResult Read(const QString& name) const = 0;
    virtual WriteStatus Write(const QString& name, const QString& text) = 0;
};

class SettingsStore {
public:
    // The section every setting of the program lives in.
    static const QString& SectionName();

    // The user's own store.
    static std::unique_ptr<SettingsStore> OpenUserStore();

    // Any QSettings, e.g. one on a temporary file in tests; its top level is the section.
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    explicit SettingsStore(std::unique_ptr<SettingsBackend> backend);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored text, up to its first zero character; `fallback` when the value does
    // not exist. Throws SettingsError for a value that is not text ("Invalid data type
    // for '<name>'") or a store that cannot be read ("Failed to get data for '<name>'").
    QString ReadString(const QString& name, const QString& fallback) const;

    // The stored text converted by ParseInteger; `fallback` when missing or when the
    // text does not convert. Throws as ReadString.
    int ReadInteger(const QString& name, int fallback) const;

    // Stores text. Throws SettingsError "Failed to create key <section>" when the
    // section cannot be created, "Failed to set data for '<name>'" when the value
    // cannot be written.
    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, int value);

    // A decimal integer with an optional sign, or hexadecimal after a leading "$";
    // a leading "0x"/"0X" on a text longer than two characters counts as "$".
    // Empty text, other characters and values outside the 32-bit range do not convert
    // (hexadecimal texts give the signed value of their 32-bit pattern).
    static std::optional<int> ParseInteger(QString text);

private:
    std::unique_ptr<SettingsBackend> m_backend;
};

} // namespace tintara
