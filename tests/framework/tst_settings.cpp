// The settings store's typed reads and writes and its error messages.

#include "framework/RegistrySettings.h"
#include "framework/SettingsStore.h"
#include "testsupport.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#include <QDir>
#include <QRect>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>

using namespace tintara;

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void parseInteger_data();
    void parseInteger();
    void textRoundTrip_data();
    void textRoundTrip();
    void integersAreStoredAsDecimalText();
    void missingValuesGiveTheDefault();
    void textEndsAtTheFirstZeroCharacter();
    void nonTextValueIsInvalidDataType_data();
    void nonTextValueIsInvalidDataType();
    void unreadableStoreFailsToGetData();
    void unwritableStoreFailsToCreateKey();
    void registryValuesAreTextWithoutZero();

private:
    std::unique_ptr<SettingsStore> open(const QString& file) {
        return std::make_unique<SettingsStore>(
            std::make_unique<QSettings>(file, QSettings::IniFormat));
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void SettingsStoreTest::parseInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "40" << true << 40;
    QTest::newRow("minus") << "-1" << true << -1;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("0x lower") << "0x28" << true << 40;
    QTest::newRow("0X upper") << "0X1f" << true << 31;
    QTest::newRow("dollar") << "$28" << true << 40;
    QTest::newRow("dollar full pattern") << "$FFFFFFFF" << true << -1;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("bare 0x") << "0x" << false << 0;
    QTest::newRow("bare dollar") << "$" << false << 0;
    QTest::newRow("0x then sign") << "0x-5" << false << 0;
    QTest::newRow("sign before dollar") << "-$28" << false << 0;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("hex too large") << "$100000000" << false << 0;
    QTest::newRow("blank inside") << "4 0" << false << 0;
    QTest::newRow("trailing letter") << "40px" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
}

void SettingsStoreTest::parseInteger() {
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, value);
    const std::optional<int> parsed = SettingsStore::ParseInteger(text);
    QCOMPARE(parsed.has_value(), converts);
    if (converts)
        QCOMPARE(*parsed, value);
}

void SettingsStoreTest::textRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("windows root") << "c:\\";
    QTest::newRow("comma and blanks") << "/home/a, b/models ";
    QTest::newRow("empty") << "";
    QTest::newRow("non-ASCII") << QStringLiteral("/tmp/\u00e9t\u00e9/\u6a21\u578b");
}

void SettingsStoreTest::textRoundTrip() {
    QFETCH(QString, text);
    open(file("round.ini"))->WriteString("Load", text);
    QCOMPARE(open(file("round.ini"))->ReadString("Load", "default"), text);
}

void SettingsStoreTest::integersAreStoredAsDecimalText() {
    open(file("int.ini"))->WriteInteger("Top", -25);
    QSettings raw(file("int.ini"), QSettings::IniFormat);
    QCOMPARE(raw.value("Top").toString(), QStringLiteral("-25"));
    QCOMPARE(open(file("int.ini"))->ReadInteger("Top", 40), -25);
}

void SettingsStoreTest::missingValuesGiveTheDefault() {
    const auto store = open(file("missing/none.ini"));
    QCOMPARE(store->ReadString("Load", "c:\\"), QStringLiteral("c:\\"));
    QCOMPARE(store->ReadInteger("Top", 40), 40);
    QVERIFY(!QFile::exists(file("missing/none.ini")));
}

void SettingsStoreTest::textEndsAtTheFirstZeroCharacter() {
    QSettings(file("zero.ini"), QSettings::IniFormat)
        .setValue("Load", QStringLiteral("abc") + QChar(u'\0') + QStringLiteral("def"));
    QCOMPARE(open(file("zero.ini"))->ReadString("Load", "x"), QStringLiteral("abc"));
}

void SettingsStoreTest::nonTextValueIsInvalidDataType_data() {
    QTest::addColumn<QVariant>("value");
    QTest::newRow("rectangle") << QVariant(QRect(1, 2, 3, 4));
    QTest::newRow("list of texts") << QVariant(QStringList{"1", "2"});
    QTest::newRow("bytes") << QVariant(QByteArray("\x01\x02", 2));
}

void SettingsStoreTest::nonTextValueIsInvalidDataType() {
    QFETCH(QVariant, value);
    QSettings(file("typed.ini"), QSettings::IniFormat).setValue("Top", value);
    const auto store = open(file("typed.ini"));
    try {
        store->ReadInteger("Top", 40);
        QFAIL("no error raised");
    } catch (const SettingsError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Invalid data type for 'Top'"));
    }
}

void SettingsStoreTest::unreadableStoreFailsToGetData() {
    QVERIFY(QDir().mkpath(file("folder.ini")));
    const auto store = open(file("folder.ini"));
    try {
        store->ReadString("Load", "x");
        QFAIL("no error raised");
    } catch (const SettingsError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Failed to get data for 'Load'"));
    }
}

void SettingsStoreTest::unwritableStoreFailsToCreateKey() {
    QFile plain(file("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const auto store = open(file("plain/settings.ini"));
    try {
        store->WriteInteger("Top", 1);
        QFAIL("no error raised");
    } catch (const SettingsError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Failed to create key Tintarax"));
    }
}

// The registry as the program's store: values of type REG_SZ whose data is the text
// alone, integers as decimal text, and a value of another type reported, not used.
void SettingsStoreTest::registryValuesAreTextWithoutZero() {
#ifndef Q_OS_WIN
    QSKIP("the registry exists only on Windows");
#else
    const QString keyPath =
        QStringLiteral("Software\\Norvel\\TintaraxTest%1").arg(QCoreApplication::applicationPid());
    const auto wide = [](const QString& text) {
        return reinterpret_cast<const wchar_t*>(text.utf16());
    };
    const auto raw = [&](const QString& name, DWORD& type) {
        HKEY key = nullptr;
        QByteArray data(64, '\0');
        DWORD bytes = static_cast<DWORD>(data.size());
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath), 0, KEY_QUERY_VALUE, &key) != 0)
            return QByteArray("no key");
        const LONG read = RegQueryValueExW(key, wide(name), nullptr, &type,
                                           reinterpret_cast<BYTE*>(data.data()), &bytes);
        RegCloseKey(key);
        return read == 0 ? data.left(static_cast<qsizetype>(bytes)) : QByteArray("no value");
    };
    RegDeleteTreeW(HKEY_CURRENT_USER, wide(keyPath));
    const auto removeKey = qScopeGuard([&] { RegDeleteTreeW(HKEY_CURRENT_USER, wide(keyPath)); });
    SettingsStore store(std::make_unique<RegistrySettings>(RegistrySettings::CurrentUser, keyPath));
    QCOMPARE(store.ReadInteger("Top", 40), 40); // no key yet

    store.WriteInteger("Top", -25);
    store.WriteString("Load", QStringLiteral("D:\\mod\u00e8les"));
    DWORD type = 0;
    QCOMPARE(raw("Top", type), QByteArray("-\0"
                                          "2\0"
                                          "5\0",
                                          6));
    QCOMPARE(type, DWORD(REG_SZ));
    QCOMPARE(raw("Load", type).size(), 10 * 2);
    QCOMPARE(store.ReadInteger("Top", 40), -25);
    QCOMPARE(store.ReadString("Load", "c:\\"), QStringLiteral("D:\\mod\u00e8les"));

    HKEY key = nullptr;
    QCOMPARE(RegOpenKeyExW(HKEY_CURRENT_USER, wide(keyPath), 0, KEY_SET_VALUE, &key), 0L);
    const DWORD number = 40;
    RegSetValueExW(key, L"Top", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    const wchar_t expand[] = L"C:\\x\0junk";
    RegSetValueExW(key, L"Load", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                   sizeof expand);
    RegCloseKey(key);
    try {
        store.ReadInteger("Top", 40);
        QFAIL("no error raised");
    } catch (const SettingsError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Invalid data type for 'Top'"));
    }
    QCOMPARE(store.ReadString("Load", "c:\\"), QStringLiteral("C:\\x"));
#endif
}

TINTARA_TEST_MAIN(SettingsStoreTest)
#include "tst_settings.moc"
