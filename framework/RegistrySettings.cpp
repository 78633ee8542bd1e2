#include "framework/RegistrySettings.h"

#ifdef Q_OS_WIN

#include <qt_windows.h>

#include <optional>
#include <vector>

namespace tintara {
namespace {

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

HKEY RootKey(RegistrySettings::Root root) {
    switch (root) {
    case RegistrySettings::CurrentUser:
        break;
    }
    return HKEY_CURRENT_USER;
}

// Closes the key when it goes out of scope.
struct OpenKey {
    HKEY key = nullptr;
    ~OpenKey() {
        if (key != nullptr)
            RegCloseKey(key);
    }
};

} // namespace

RegistrySettings::RegistrySettings(Root root, QString keyPath)
    : m_root(root), m_keyPath(std::move(keyPath)) {}

void RegistrySettings::NoteFailure(long code) const {
    m_failure = QStringLiteral("HKEY_CURRENT_USER\\") + m_keyPath + QLatin1String(": ") +
                qt_error_string(static_cast<int>(code));
}

SettingsBackend::ReadResult RegistrySettings::Read(const QString& name) const {
    OpenKey open;
    const LONG opened =
        RegOpenKeyExW(RootKey(m_root), Wide(m_keyPath), 0, KEY_QUERY_VALUE, &open.key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return {ReadStatus::Missing, {}};
    if (opened != ERROR_SUCCESS) {
        NoteFailure(opened);
        return {ReadStatus::StoreFailed, {}};
    }

    // What a query says when it gives no text: missing, failed, or another type.
    const auto notText = [this](LONG queried, DWORD type) -> std::optional<ReadResult> {
        if (queried == ERROR_FILE_NOT_FOUND)
            return ReadResult{ReadStatus::Missing, {}};
        if (queried != ERROR_SUCCESS) {
            NoteFailure(queried);
            return ReadResult{ReadStatus::Failed, {}};
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ReadResult{ReadStatus::NotText, {}};
        return std::nullopt;
    };
    // Ask for the size, then the data; a value that grew in between is asked for again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        LONG queried = RegQueryValueExW(open.key, Wide(name), nullptr, &type, nullptr, &bytes);
        if (const auto outcome = notText(queried, type))
            return *outcome;
        std::vector<wchar_t> data((bytes + 1) / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        queried = RegQueryValueExW(open.key, Wide(name), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &got);
        if (queried == ERROR_MORE_DATA)
            continue;
        if (const auto outcome = notText(queried, type))
            return *outcome;
        QString text =
            QString::fromWCharArray(data.data(), static_cast<qsizetype>(got / sizeof(wchar_t)));
        const qsizetype zero = text.indexOf(QChar(u'\0'));
        if (zero >= 0)
            text.truncate(zero);
        return {ReadStatus::Text, text};
    }
    m_failure = QStringLiteral("HKEY_CURRENT_USER\\") + m_keyPath;
    return {ReadStatus::Failed, {}};
}

SettingsBackend::WriteStatus RegistrySettings::Write(const QString& name, const QString& text) {
    OpenKey open;
    const LONG created =
        RegCreateKeyExW(RootKey(m_root), Wide(m_keyPath), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &open.key, nullptr);
    if (created != ERROR_SUCCESS) {
        NoteFailure(created);
        return WriteStatus::SectionFailed;
    }
    // The system counts a zero character that follows the data into it; a non-zero
    // character after the copy keeps the stored data to the text alone.
    std::vector<char16_t> data(text.utf16(), text.utf16() + text.size());
    data.push_back(u'?');
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(char16_t));
    const LONG set = RegSetValueExW(open.key, Wide(name), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(data.data()), bytes);
    if (set != ERROR_SUCCESS) {
        NoteFailure(set);
        return WriteStatus::ValueFailed;
    }
    return WriteStatus::Ok;
}

} // namespace tintara

#endif
