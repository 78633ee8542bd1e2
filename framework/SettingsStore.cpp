#include "framework/SettingsStore.h"

#include "framework/RegistrySettings.h"

#include <QMetaType>
#include <QSettings>
#include <QVariant>

namespace tintara {
namespace {

[[noreturn]] void Fail(const QString& message) {
    throw SettingsError(message.toStdString());
}

// Values in a QSettings object: the configuration file on Linux, any file in tests.
class QSettingsBackend final : public SettingsBackend {
public:
    explicit QSettingsBackend(std::unique_ptr<QSettings> settings)
        : m_settings(std::move(settings)) {}

    ReadResult Read(const QString& name) const override {
        if (m_settings->status() == QSettings::AccessError)
            return {ReadStatus::Failed, {}};
        if (!m_settings->contains(name))
            return {ReadStatus::Missing, {}};
        const QVariant value = m_settings->value(name);
        if (value.typeId() != QMetaType::QString)
            return {ReadStatus::NotText, {}};
        return {ReadStatus::Text, value.toString()};
    }

    WriteStatus Write(const QString& name, const QString& text) override {
        if (!m_settings->isWritable())
            return WriteStatus::SectionFailed;
        m_settings->setValue(name, text);
        m_settings->sync();
        return m_settings->status() == QSettings::NoError ? WriteStatus::Ok
                                                          : WriteStatus::ValueFailed;
    }

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace

const QString& SettingsStore::SectionName() {
    static const QString name = QStringLiteral("Tintarax");
    return name;
}

std::unique_ptr<SettingsStore> SettingsStore::OpenUserStore() {
#ifdef Q_OS_WIN
    return std::make_unique<SettingsStore>(std::make_unique<RegistrySettings>(
        RegistrySettings::CurrentUser, QStringLiteral("Software\\Norvel\\") + SectionName()));
#else
    return std::make_unique<SettingsStore>(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Norvel"), SectionName()));
#endif
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings)
    : m_backend(std::make_unique<QSettingsBackend>(std::move(settings))) {}

SettingsStore::SettingsStore(std::unique_ptr<SettingsBackend> backend)
    : m_backend(std::move(backend)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::ReadString(const QString& name, const QString& fallback) const {
    SettingsBackend::ReadResult read = m_backend->Read(name);
    switch (read.status) {
    case SettingsBackend::ReadStatus::Missing:
        return fallback;
    case SettingsBackend::ReadStatus::NotText:
        Fail(QStringLiteral("Invalid data type for '%1'").arg(name));
    case SettingsBackend::ReadStatus::Failed:
        Fail(QStringLiteral("Failed to get data for '%1'").arg(name));
    case SettingsBackend::ReadStatus::Text:
        break;
    }
    QString text = std::move(read.text);
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

int SettingsStore::ReadInteger(const QString& name, int fallback) const {
    return ParseInteger(ReadString(name, QString())).value_or(fallback);
}

void SettingsStore::WriteString(const QString& name, const QString& value) {
    switch (m_backend->Write(name, value)) {
    case SettingsBackend::WriteStatus::Ok:
        return;
    case SettingsBackend::WriteStatus::SectionFailed:
        Fail(QStringLiteral("Failed to create key %1").arg(SectionName()));
    case SettingsBackend::WriteStatus::ValueFailed:
        Fail(QStringLiteral("Failed to set data for '%1'").arg(name));
    }
}

void SettingsStore::WriteInteger(const QString& name, int value) {
    WriteString(name, QString::number(value));
}

std::optional<int> SettingsStore::ParseInteger(QString text) {
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X"))))
        text.replace(0, 2, QStringLiteral("$"));
    bool ok = false;
    if (text.startsWith(QLatin1Char('$'))) {
        const QStringView digits = QStringView(text).mid(1);
        // Only plain hexadecimal digits: no sign, blanks or second prefix.
        for (const QChar c : digits) {
            const char16_t u = c.unicode();
            const bool hex =
                (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
            if (!hex)
                return std::nullopt;
        }
        const qulonglong pattern = digits.toULongLong(&ok, 16);
        if (!ok || pattern > 0xFFFFFFFFull)
            return std::nullopt;
        return static_cast<int>(static_cast<quint32>(pattern));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return std::nullopt;
    }
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace tintara
