#include "framework/SettingsStore.h"

#include "framework/RegistrySettings.h"

#include <QDir>
#include <QFile>
#include <QMetaType>
#include <QSettings>
#include <QVariant>

#include <optional>

namespace tintara {
namespace {

[[noreturn]] void Fail(const QString& message, const QString& detail, bool wholeStore = false) {
    throw SettingsError(message, detail, wholeStore);
}

// "<file>: <reason>" for a file that cannot be opened with `mode` (the system's reason
// as the open reports it), "<file>" alone when it opens now. A file that does not exist
// is created to find out, and removed again.
QString FileProblem(const QString& path, QIODevice::OpenMode mode) {
    QString detail = QDir::toNativeSeparators(path);
    QFile file(path);
    const bool existing = file.exists();
    if (!existing && mode.testFlag(QIODevice::WriteOnly))
        mode |= QIODevice::NewOnly;
    if (file.open(mode)) {
        file.close();
        if (!existing)
            file.remove();
    } else {
        detail += QLatin1String(": ") + file.errorString();
    }
    return detail;
}

// Values in a QSettings object: the configuration file on Linux, any file in tests.
class QSettingsBackend final : public SettingsBackend {
public:
    explicit QSettingsBackend(std::unique_ptr<QSettings> settings)
        : m_settings(std::move(settings)) {}

    ReadResult Read(const QString& name) const override {
        // A file that could not be read at all. A damaged one (FormatError) still gives
        // every value that could be read.
        if (m_settings->status() == QSettings::AccessError) {
            m_failure = FileProblem(m_settings->fileName(), QIODevice::ReadOnly);
            return {ReadStatus::StoreFailed, {}};
        }
        if (!m_settings->contains(name))
            return {ReadStatus::Missing, {}};
        const QVariant value = m_settings->value(name);
        if (value.typeId() != QMetaType::QString)
            return {ReadStatus::NotText, {}};
        return {ReadStatus::Text, value.toString()};
    }

    WriteStatus Write(const QString& name, const QString& text) override {
        if (!m_settings->isWritable()) {
            m_failure = FileProblem(m_settings->fileName(), QIODevice::ReadWrite);
            return WriteStatus::SectionFailed;
        }
        // A QSettings object keeps the first problem it meets for good: after a damaged
        // file was read, the status of m_settings says nothing about this write. A new
        // object on the same file starts clean and shares the values already loaded in
        // this process; one that found the file changed on disk (and re-read it) is
        // replaced once more, as the next finds it unchanged.
        std::optional<QSettings> writer;
        for (int attempt = 0; attempt < 2; ++attempt) {
            writer.reset();
            writer.emplace(m_settings->fileName(), m_settings->format());
            if (writer->status() == QSettings::NoError)
                break;
        }
        writer->setValue(name, text);
        writer->sync();
        // FormatError: the file was damaged when the write re-read it; the write itself
        // went through all the same.
        if (writer->status() == QSettings::AccessError) {
            m_failure = FileProblem(m_settings->fileName(), QIODevice::ReadWrite);
            return WriteStatus::ValueFailed;
        }
        return WriteStatus::Ok;
    }

    QString FailureDetail() const override { return m_failure; }

private:
    std::unique_ptr<QSettings> m_settings;
    mutable QString m_failure;
};

} // namespace

SettingsError::SettingsError(const QString& message, QString detail, bool wholeStore)
    : std::runtime_error(message.toStdString()), m_detail(std::move(detail)),
      m_wholeStore(wholeStore) {}

QString SettingsError::Text() const {
    const QString message = QString::fromStdString(what());
    return m_detail.isEmpty() ? message : message + QLatin1Char('\n') + m_detail;
}

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
        Fail(QStringLiteral("Invalid data type for '%1'").arg(name), QString());
    case SettingsBackend::ReadStatus::Failed:
        Fail(QStringLiteral("Failed to get data for '%1'").arg(name), m_backend->FailureDetail());
    case SettingsBackend::ReadStatus::StoreFailed:
        Fail(QStringLiteral("Failed to get data for '%1'").arg(name), m_backend->FailureDetail(),
             true);
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
        Fail(QStringLiteral("Failed to create key %1").arg(SectionName()),
             m_backend->FailureDetail(), true);
    case SettingsBackend::WriteStatus::ValueFailed:
        Fail(QStringLiteral("Failed to set data for '%1'").arg(name), m_backend->FailureDetail());
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
