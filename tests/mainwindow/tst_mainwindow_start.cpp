// The main window's start and close: layout, settings read at start and written at
// close, and what happens when the settings store misbehaves.

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRect>
#include <QSignalSpy>

using namespace tintara;
using namespace tintara::test;

class MainWindowStartTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartUsesDefaultsAndWritesProgram();
    void settingsRoundTrip();
    void storedTopIsConverted_data();
    void storedTopIsConverted();
    void positionRoundTripsAnywhere_data();
    void positionRoundTripsAnywhere();
    void wrongTypeIsReportedAndDefaultUsed();
    void storedShowOutsideItemsLeavesComboEmpty_data();
    void storedShowOutsideItemsLeavesComboEmpty();
    void typedPropertyIsSavedAsMinusOne();
    void storedLoadWithFinalSeparatorIsSavedWithout();
    void unwritableStoreLetsTheSecondCloseThrough();
    void startReportsOnlyWhatFailed_data();
    void startReportsOnlyWhatFailed();
    void layoutAsBuilt();
    void tabOrderFollowsTheLayout();
    void listColumnsLineUpUnderHeadings();
};

void MainWindowStartTest::firstStartUsesDefaultsAndWritesProgram() {
    FormFixture f;
    ProbeForm& form = f.create();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.pos(), QPoint(60, 40));
    QCOMPARE(f.child<QComboBox>("ComboBox1")->currentText(), QStringLiteral("Diffuse"));
#ifdef Q_OS_WIN
    QCOMPARE(form.openDialog().InitialDir(), QStringLiteral("c:\\"));
#else
    QCOMPARE(form.openDialog().InitialDir(), QDir::homePath());
#endif
    QVERIFY(f.prompter.requests.isEmpty());
    QCOMPARE(f.settings()->value("Program").toString(),
             QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    QVERIFY(!f.settings()->contains("Top"));
}

void MainWindowStartTest::settingsRoundTrip() {
    FormFixture f;
    {
        ProbeForm& form = f.create();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(123, 77);
        f.child<QComboBox>("ComboBox1")->setCurrentIndex(3);
        QDir().mkpath(f.path("models/sub"));
        f.chooseFile(f.path("models/sub/plane.mdl"));
        QVERIFY(form.close());
    }
    const auto stored = f.settings();
    QCOMPARE(stored->value("Top").toString(), QStringLiteral("77"));
    QCOMPARE(stored->value("Left").toString(), QStringLiteral("123"));
    QCOMPARE(stored->value("Show").toString(), QStringLiteral("3"));
    QCOMPARE(stored->value("Load").toString(), f.nativePath("models/sub"));

    ProbeForm& again = f.create();
    QCOMPARE(again.pos(), QPoint(123, 77));
    QCOMPARE(f.child<QComboBox>("ComboBox1")->currentText(), QStringLiteral("Emmissive"));
    QCOMPARE(again.openDialog().InitialDir(), f.nativePath("models/sub"));
    // The next dialog opens where the last file was chosen.
    f.chooser.choices.push_back(std::nullopt);
    QTest::mouseClick(f.child<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(f.chooser.requests.back().initialFolder, f.nativePath("models/sub"));
}

void MainWindowStartTest::storedTopIsConverted_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("top");
    QTest::newRow("negative") << "-20" << -20;
    QTest::newRow("0x prefix") << "0x28" << 40;
    QTest::newRow("dollar prefix") << "$28" << 40;
    QTest::newRow("letters give default") << "abc" << 40;
    QTest::newRow("empty gives default") << "" << 40;
    QTest::newRow("off screen kept") << "5000" << 5000;
}

void MainWindowStartTest::storedTopIsConverted() {
    QFETCH(QString, text);
    QFETCH(int, top);
    FormFixture f;
    f.settings()->setValue("Top", text);
    ProbeForm& form = f.create();
    QCOMPARE(form.pos(), QPoint(60, top));
    QVERIFY(f.prompter.requests.isEmpty());
}

void MainWindowStartTest::positionRoundTripsAnywhere_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::newRow("partly off the left") << -100 << 40;
    QTest::newRow("partly above") << 60 << -20;
    QTest::newRow("on the screen") << 300 << 200;
}

// Started and closed three times without being moved, the window stays where it was.
void MainWindowStartTest::positionRoundTripsAnywhere() {
    QFETCH(int, left);
    QFETCH(int, top);
    FormFixture f;
    f.settings()->setValue("Left", QString::number(left));
    f.settings()->setValue("Top", QString::number(top));
    for (int run = 0; run < 3; ++run) {
        ProbeForm& form = f.create();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QCOMPARE(f.settings()->value("Left").toInt(), left);
        QCOMPARE(f.settings()->value("Top").toInt(), top);
    }
}

void MainWindowStartTest::wrongTypeIsReportedAndDefaultUsed() {
    FormFixture f;
    f.settings()->setValue("Top", QRect(1, 2, 3, 4));
    f.settings()->setValue("Left", "200");
    ProbeForm& form = f.create();
    QCOMPARE(f.prompter.requests.size(), 1);
    QCOMPARE(f.prompter.requests[0].text, QStringLiteral("Invalid data type for 'Top'"));
    QCOMPARE(f.prompter.requests[0].icon, PromptIcon::Critical);
    // The program starts with the default for that value and the others as stored.
    QCOMPARE(form.pos(), QPoint(200, 40));
}

void MainWindowStartTest::storedShowOutsideItemsLeavesComboEmpty_data() {
    QTest::addColumn<QString>("show");
    QTest::newRow("minus one") << "-1";
    QTest::newRow("past the last item") << "5";
}

void MainWindowStartTest::storedShowOutsideItemsLeavesComboEmpty() {
    QFETCH(QString, show);
    FormFixture f;
    f.settings()->setValue("Show", show);
    f.create();
    QComboBox* combo = f.child<QComboBox>("ComboBox1");
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->currentText(), QString());
    QCOMPARE(f.form().ShownProperty(), -1);
}

void MainWindowStartTest::typedPropertyIsSavedAsMinusOne() {
    FormFixture f;
    ProbeForm& form = f.create();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QComboBox* combo = f.child<QComboBox>("ComboBox1");
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), "Diffusion");
    QCOMPARE(form.ShownProperty(), -1);
    QVERIFY(form.close());
    QCOMPARE(f.settings()->value("Show").toString(), QStringLiteral("-1"));
}

void MainWindowStartTest::storedLoadWithFinalSeparatorIsSavedWithout() {
    FormFixture f;
    f.settings()->setValue("Load", f.path("models/"));
    ProbeForm& form = f.create();
    QCOMPARE(form.openDialog().InitialDir(), f.nativePath("models"));
    QVERIFY(form.close());
    QCOMPARE(f.settings()->value("Load").toString(), f.nativePath("models"));

#ifdef Q_OS_WIN
    const QString root = QStringLiteral("D:\\");
#else
    const QString root = QStringLiteral("/");
#endif
    f.settings()->setValue("Load", root);
    QCOMPARE(f.create().openDialog().InitialDir(), root);
}

void MainWindowStartTest::unwritableStoreLetsTheSecondCloseThrough() {
    FormFixture f;
    // A store whose folder would have to be made inside a plain file.
    QFile blocker(f.path("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ProbeForm& form = f.create(f.path("blocker/settings.ini"));
    QCOMPARE(f.prompter.requests.size(), 1);
    // The second line names the store and the reason.
    const QStringList lines = f.prompter.requests[0].text.split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("Failed to create key Tintarax"));
    QVERIFY2(lines.value(1).startsWith(f.nativePath("blocker/settings.ini") + QLatin1String(": ")),
             qPrintable(f.prompter.requests[0].text));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(f.prompter.requests.size(), 2);
    QCOMPARE(f.prompter.requests[1].text, f.prompter.requests[0].text);

    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
}

void MainWindowStartTest::startReportsOnlyWhatFailed_data() {
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("messages"); // their first lines
    QTest::addColumn<QPoint>("position");
    const char raw[] = "\x00\xff\xfe[[[\nno equals sign\n\x01\x02=\x03\n[unclosed\n";
    const QByteArray junk(raw, sizeof raw - 1);
    QTest::newRow("garbage file") << false << junk << QStringList() << QPoint(60, 40);
    QTest::newRow("garbage around readable values")
        << false << junk + "[General]\nTop=77\nLeft=200\n"
        << QStringList() << QPoint(200, 77);
    QTest::newRow("garbage and a value of another type")
        << false << junk + "[General]\nTop=@Rect(1 2 3 4)\nLeft=200\n"
        << QStringList{"Invalid data type for 'Top'"} << QPoint(200, 40);
    QTest::newRow("folder as settings path")
        << true << QByteArray() << QStringList{"Failed to create key Tintarax"} << QPoint(60, 40);
}

// A damaged store is read as far as it goes and written all the same; a store that
// cannot be opened at all is reported once, not for every value.
void MainWindowStartTest::startReportsOnlyWhatFailed() {
    QFETCH(bool, folder);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, messages);
    QFETCH(QPoint, position);
    FormFixture f;
    QFile file(f.settingsPath());
    if (folder) {
        QVERIFY(QDir().mkpath(f.settingsPath()));
    } else {
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
        file.close();
    }

    ProbeForm& form = f.create();
    QStringList firstLines;
    for (const PromptRequest& request : f.prompter.requests) {
        firstLines << request.text.section(QLatin1Char('\n'), 0, 0);
        // A second line names the store.
        const QString where = request.text.section(QLatin1Char('\n'), 1);
        QVERIFY2(where.isEmpty() || where.startsWith(f.nativePath("settings.ini") + ':'),
                 qPrintable(request.text));
    }
    QCOMPARE(firstLines, messages);
    QCOMPARE(form.pos(), position);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (folder)
        return;

    // The values really reached the file, and the close reports nothing.
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("\nProgram="));
    file.close();
    form.move(10, 20);
    QVERIFY(form.close());
    QCOMPARE(f.prompter.requests.size(), messages.size());
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Windows ends the lines of the file in CRLF.
    const QByteArray written = file.readAll().replace("\r", "");
    QVERIFY2(written.contains("\nTop=20\n") && written.contains("\nLeft=10\n"),
             written.constData());
}

void MainWindowStartTest::layoutAsBuilt() {
    FormFixture f;
    ProbeForm& form = f.create();
    QCOMPARE(form.windowTitle(), QStringLiteral("Tintara Material Editor "));
    QCOMPARE(form.minimumSize(), QSize(679, 449));
    QCOMPARE(form.maximumSize(), QSize(679, 449));
    QVERIFY(!form.windowIcon().isNull());
    QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!f.child<QPushButton>("Button7")->isVisible());
    QVERIFY(!f.child<QPushButton>("Button8")->isVisible());
    QVERIFY(!f.child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(f.child<QPushButton>("Button2")->text(), QStringLiteral("Save Updated MDL"));
    QCOMPARE(f.child<QGroupBox>("GroupBox1")->title(), QStringLiteral("Material Properties"));
    QCOMPARE(f.child<QGroupBox>("GroupBox1")->geometry(), QRect(296, 8, 369, 217));
    QCOMPARE(f.list()->geometry(), QRect(8, 112, 281, 297));
    QCOMPARE(f.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(f.label().isEmpty());

    const QStringList help =
        f.child<QPlainTextEdit>("Memo1")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(help.size(), 38);
    QCOMPARE(help[0], QStringLiteral("ALWAYS MAKE A BACKUP OF ANY MDL YOU EDIT"));
    QCOMPARE(help[3], QStringLiteral("They will be listed along with the LOD block they belong "
                                     "to. Click on any "));
    QCOMPARE(help[30], QStringLiteral("When you are happy with your Material changes click the "
                                      "\"Send modified "));
    QCOMPARE(help[31], QStringLiteral("material back\" button to set the new values in the "
                                      "loaded MDL."));
    QCOMPARE(help[37], QStringLiteral("case..."));

    const QStringList items = {"Diffuse", "Ambient", "Specular", "Emmissive", "Specularity"};
    QComboBox* combo = f.child<QComboBox>("ComboBox1");
    QCOMPARE(combo->count(), items.size());
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(combo->itemText(i), items[i]);
}

void MainWindowStartTest::tabOrderFollowsTheLayout() {
    FormFixture f;
    ProbeForm& form = f.create();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    f.child<QLineEdit>("Edit1")->setFocus();
    const QStringList expected = {"Edit1",    "scan",     "texlist",  "Button1",  "Button3",
                                  "Memo1",    "Button4",  "Button13", "Button10", "Button14",
                                  "Button11", "Button15", "Button12", "Button16", "NumEdit5",
                                  "NumEdit1", "NumEdit2", "NumEdit3", "NumEdit4", "Button5",
                                  "Button6",  "ComboBox1"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The disabled and the hidden buttons, the spinners and the scroll box are passed
    // over; the panel comes between the help text and the property chooser.
    QCOMPARE(visited, expected);
    // Every control there, the disabled save button and the adjusted colour tell what
    // they do (the list's lines have tool tips of their own; the help text is text).
    visited << "Button2"
            << "Shape1";
    for (const QString& name : visited)
        if (name != "texlist" && name != "Memo1")
            QVERIFY2(!f.child<QWidget>(qPrintable(name))->toolTip().isEmpty(), qPrintable(name));
}

void MainWindowStartTest::listColumnsLineUpUnderHeadings() {
    FormFixture f;
    MaterialBytes file;
    file.padTo(6692).list({MakeDiffuseOnlyEntry(1.0f, 0.5f, 0.0f, 1.0f, 20.0f)});
    file.writeTo(FsPath(f.path("one.mdl")));
    ProbeForm& form = f.create();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    f.chooseFile(f.path("one.mdl"));
    const QString line = f.lines().value(0);
    QCOMPARE(line, QStringLiteral("LOD 01 01 00001A2C  FF 7F 00 FF"));

    QAbstractItemView* list = f.list();
    const QRect item = list->visualRect(list->model()->index(0, 0));
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const QFontMetricsF metrics(list->font());
    const auto columnCentre = [&](int firstChar, int chars) {
        const qreal left = metrics.horizontalAdvance(line.left(firstChar));
        const qreal right = metrics.horizontalAdvance(line.left(firstChar + chars));
        const QPoint at = list->viewport()->mapTo(
            &form, QPoint(item.left() + margin + qRound((left + right) / 2), item.top()));
        return at.x();
    };
    const struct {
        const char* heading;
        int firstChar;
        int chars;
    } columns[] = {{"Label16", 10, 8},
                   {"Label12", 20, 2},
                   {"Label15", 23, 2},
                   {"Label13", 26, 2},
                   {"Label14", 29, 2}};
    for (const auto& column : columns) {
        const QRect heading = f.child<QLabel>(column.heading)->geometry();
        const int centre = columnCentre(column.firstChar, column.chars);
        QVERIFY2(std::abs(centre - heading.center().x()) <= 3,
                 qPrintable(QStringLiteral("%1 at %2, column centre %3")
                                .arg(QLatin1String(column.heading))
                                .arg(heading.center().x())
                                .arg(centre)));
    }
}

TINTARA_TEST_MAIN(MainWindowStartTest)
#include "tst_mainwindow_start.moc"
