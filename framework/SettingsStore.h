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

// A read or write that failed; the message (what()) names the value (or the section).
class SettingsError : public std::runtime_error {
public:
    // `detail`: where the values live and the system's reason, when known. `wholeStore`:
    // the store itself could not be opened or created, so every value fails alike.
    explicit SettingsError(const QString& message, QString detail = QString(),
                           bool wholeStore = false);

    // The text to show: the message, and the detail on a second line.
    QString Text() const;
    bool WholeStore() const { return m_wholeStore; }

private:
    QString m_detail;
    bool m_wholeStore = false;
};

// Where the values live: the text values of one section. Reads and writes report what
// happened; the store turns that into the program's messages.
class SettingsBackend {
public:
    // Failed: this value could not be read; StoreFailed: the store itself could not be.
    enum class ReadStatus { Text, Missing, NotText, Failed, StoreFailed };
    struct ReadResult {
        ReadStatus status = ReadStatus::Missing;
        QString text;
    };
    enum class WriteStatus { Ok, SectionFailed, ValueFailed };

    virtual ~SettingsBackend() = default;
    virtual ReadResult Read(const QString& name) const = 0;
    virtual WriteStatus Write(const QString& name, const QString& text) = 0;
    // After a failed Read or Write: the store's location and the system's reason, for a
    // second line of the message; empty when unknown.
    virtual QString FailureDetail() const { return QString(); }
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
    // for '<name>'") or a value or store that cannot be read ("Failed to get data for
    // '<name>'").
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
