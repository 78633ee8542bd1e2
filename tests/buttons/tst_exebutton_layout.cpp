// TExeButton's size and text: the automatic layout, the parts of the file name, the
// caption, and the label shortened to fit.

#include "controls/ExeButtn.h"

#include "ButtonTestUtils.h"
#include "ExeButtonTestUtils.h"
#include "testsupport.h"

#include <QTemporaryDir>

using tintara::TExeButton;
using tintara::test::exebutton::MakeButton;

class TestExeButtonLayout : public QObject {
    Q_OBJECT

private slots:
    void autoLayout_data();
    void autoLayout();
    void fileName_data();
    void fileName();
    void fileNameKeepsLaterCaption();
    void shortenLabel_data();
    void shortenLabel();
    void visibleLabelFitsAutoSize();
};

void TestExeButtonLayout::autoLayout_data() {
    QTest::addColumn<bool>("large");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<bool>("label");
    QTest::addColumn<QSize>("size");

    QTest::newRow("large icon and label") << true << true << true << QSize(104, 40);
    QTest::newRow("large icon only") << true << true << false << QSize(40, 40);
    QTest::newRow("large label only") << true << false << true << QSize(72, 40);
    QTest::newRow("large neither") << true << false << false << QSize(40, 40);
    QTest::newRow("small icon and label") << false << true << true << QSize(88, 24);
    QTest::newRow("small icon only") << false << true << false << QSize(24, 24);
    QTest::newRow("small label only") << false << false << true << QSize(72, 24);
    QTest::newRow("small neither") << false << false << false << QSize(24, 24);
}

void TestExeButtonLayout::autoLayout() {
    QFETCH(bool, large);
    QFETCH(bool, icon);
    QFETCH(bool, label);
    QFETCH(QSize, size);

    auto button = MakeButton(false);
    button->SetShowIcon(icon);
    button->SetShowLabel(label);
    button->SetLargeIcon(large);
    QCOMPARE(button->size(), QSize(60, 30)); // no automatic size yet
    QCOMPARE(button->IconSize(), large ? 32 : 16);
    button->SetAuto(true);
    QCOMPARE(button->size(), size);
}

void TestExeButtonLayout::fileName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("caption");

    QTest::newRow("program") << "C:\\Tools\\Viewer.exe"
                             << ".EXE"
                             << "C:\\Tools\\"
                             << "Viewer";
    QTest::newRow("no extension") << "C:\\Tools\\README"
                                  << ""
                                  << "C:\\Tools\\"
                                  << "README";
    QTest::newRow("dot in folder only") << "C:\\my.dir\\notes"
                                        << ""
                                        << "C:\\my.dir\\"
                                        << "notes";
    QTest::newRow("drive relative") << "C:name.txt"
                                    << ".TXT"
                                    << "C:"
                                    << "name";
    QTest::newRow("two dots") << "D:\\a.tar.gz"
                              << ".GZ"
                              << "D:\\"
                              << "a.tar";
    QTest::newRow("mixed case shortcut") << "D:\\Links\\Editor.Lnk"
                                         << ".LNK"
                                         << "D:\\Links\\"
                                         << "Editor";
    QTest::newRow("posix folders") << "/usr/local/bin/run.sh"
                                   << ".SH"
                                   << "/usr/local/bin/"
                                   << "run";
    QTest::newRow("bare name") << "Setup.Bat"
                               << ".BAT"
                               << ""
                               << "Setup";
    QTest::newRow("only an extension") << "C:\\.profile"
                                       << ".PROFILE"
                                       << "C:\\"
                                       << "";
}

void TestExeButtonLayout::fileName() {
    QFETCH(QString, name);
    QFETCH(QString, ext);
    QFETCH(QString, path);
    QFETCH(QString, caption);

    auto button = MakeButton(false);
    button->SetAuto(true);
    button->SetShowLabel(false);
    button->resize(10, 10);
    button->SetFileName(name);

    QCOMPARE(button->FileName(), name);
    QCOMPARE(button->FileExt(), ext);
    QCOMPARE(button->FilePath(), path);
    QCOMPARE(button->Caption(), caption);
    QVERIFY(button->Icon().isNull()); // no such file here, so no icon
    QCOMPARE(button->size(), QSize(40, 40));
}

void TestExeButtonLayout::fileNameKeepsLaterCaption() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("notes.txt"));
    QVERIFY(tintara::test::TouchFile(name));

    auto button = MakeButton(false);
    button->SetFileName(name);
    QCOMPARE(button->Caption(), QStringLiteral("notes"));
    button->SetCaption(QStringLiteral("My notes"));
    // Writing the same name again changes nothing, so the caption stays.
    button->SetFileName(name);
    QCOMPARE(button->Caption(), QStringLiteral("My notes"));
}

void TestExeButtonLayout::shortenLabel_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("available");
    QTest::addColumn<QString>("expected");

    // Widths in characters.
    QTest::newRow("fits") << "ABCDEF" << 0 << 6 << "ABCDEF";
    QTest::newRow("one short") << "ABCDEF" << 0 << 5 << "ABC..";
    QTest::newRow("two short") << "ABCDEF" << 0 << 4 << "ABC.";
    QTest::newRow("three short") << "ABCDEF" << 0 << 3 << "ABC";
    QTest::newRow("two left") << "ABCDEF" << 0 << 2 << "AB";
    QTest::newRow("one left") << "ABCDEF" << 0 << 1 << "A";
    QTest::newRow("nothing fits") << "ABCDEF" << 0 << 0 << "";
    QTest::newRow("negative room") << "ABCDEF" << 0 << -5 << "";
    QTest::newRow("long name ends in two dots") << "ABCDEFGHIJ" << 0 << 8 << "ABCDEF..";
    QTest::newRow("offset counts") << "ABCDEF" << 2 << 6 << "ABC.";
    QTest::newRow("four letters get no dots") << "ABCDE" << 0 << 4 << "ABCD";
}

void TestExeButtonLayout::shortenLabel() {
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, available);
    QFETCH(QString, expected);

    const auto width = [](const QString& s) { return static_cast<int>(s.size()); };
    QCOMPARE(TExeButton::ShortenLabel(text, offset, available, width), expected);
}

void TestExeButtonLayout::visibleLabelFitsAutoSize() {
    auto button = MakeButton(false);
    button->SetAuto(true);
    button->SetCaption(QStringLiteral("Short"));
    QCOMPARE(button->size(), QSize(104, 40));
    QCOMPARE(button->VisibleLabel(), QStringLiteral("Short"));

    button->SetCaption(QStringLiteral("A rather long program title"));
    const QString label = button->VisibleLabel();
    QVERIFY2(label.endsWith(QLatin1String("..")), qPrintable(label));
    QVERIFY(QFontMetrics(button->font()).horizontalAdvance(label) <= 64);
    QVERIFY(QStringLiteral("A rather long program title").startsWith(label.chopped(2)));

    button->SetShowLabel(false);
    QVERIFY(button->VisibleLabel().isEmpty());
}

TINTARA_TEST_MAIN(TestExeButtonLayout)
#include "tst_exebutton_layout.moc"
