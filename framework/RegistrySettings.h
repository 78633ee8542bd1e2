#pragma once
// Settings values in one key of the Windows registry, written and read through the
// registry functions themselves: every value is REG_SZ, its data the UTF-16 text without
// a terminating zero (Qt's own registry backend adds one). REG_SZ and REG_EXPAND_SZ read
// as text up to the first zero; any other type is not text. The key is made on the
// first write; reads of a key that does not exist find every value missing.
// Windows only.

#include "framework/SettingsStore.h"

#ifdef Q_OS_WIN

namespace tintara {

class RegistrySettings final : public SettingsBackend {
public:
    enum Root { CurrentUser };

    // `keyPath` relative to the root, with "\\" between its parts.
    RegistrySettings(Root root, QString keyPath);

    ReadResult Read(const QString& name) const override;
    WriteStatus Write(const QString& name, const QString& text) override;
    QString FailureDetail() const override { return m_failure; }

private:
    // Notes the key and the system's text for `code` as the last failure.
    void NoteFailure(long code) const;

    Root m_root;
    QString m_keyPath;
    mutable QString m_failure;
};

} // namespace tintara

#endif
