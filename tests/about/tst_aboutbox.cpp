#include "testsupport.h"

#include "about/aboutbox.h"
#include "about/maker.h"
#include "about/showabout.h"
#include "controls/ExeButtn.h"
#include "controls/mbutton.h"
#include "framework/Shell.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

using tintara::TAboutForm;

namespace {

// A library name of the maker's table in this platform's naming.
QString libraryFile(const char* stem) {
#ifdef Q_OS_WIN
    return QLatin1String(stem) + QLatin1String(".dll");
#else
    return QLatin1String("lib") + QLatin1String(stem) + QLatin1String(".so");
#endif
}

#ifdef Q_OS_WIN
constexpr const char* LibraryPathVariable = "PATH";
#else
constexpr const char* LibraryPathVariable = "LD_LIBRARY_PATH";
#endif

template <typename T> T* child(TAboutForm& form, const char* name) {
    auto* widget = form.findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

QStringList lines(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QString lineOf(TAboutForm& form, const QString& fileName) {
    for (const QString& line : lines(child<QListWidget>(form, "ListBox1"))) {
        if (line.startsWith(fileName + QLatin1Char(' ')))
            return line;
    }
    return {};
}

void showTab(TAboutForm& form, int index) {
    auto* tabs = child<QTabWidget>(form, "PageControl1");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
    QCOMPARE(tabs->currentIndex(), index);
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void descriptionOnEveryShowing();
    void programVersionAndTitle();
    void libraryLines_data();
    void libraryLines();
    void listsStayInStep();
    void libraryInstalledBetweenShowings();
    void clickShowsDescription();
    void tabAndLabelKeptBetweenShowings();
    void linkButtons_data();
    void linkButtons();
    void iconTileReleasesOnce();
    void termsFollowTheLicence();

private:
    std::unique_ptr<QTemporaryDir> m_libraries;
    QByteArray m_savedLibraryPath;
};

// Every test gets an empty library folder of its own on the search path.
void TestAboutBox::init() {
    m_libraries = std::make_unique<QTemporaryDir>();
    QVERIFY(m_libraries->isValid());
    m_savedLibraryPath = qgetenv(LibraryPathVariable);
#ifdef Q_OS_WIN
    // The loader searches PATH after the program's and the system's folders.
    qputenv(LibraryPathVariable,
            QDir::toNativeSeparators(m_libraries->path()).toLocal8Bit() + ';' + m_savedLibraryPath);
#else
    qputenv(LibraryPathVariable, QFile::encodeName(m_libraries->path()));
#endif
}

void TestAboutBox::cleanup() {
    qputenv(LibraryPathVariable, m_savedLibraryPath);
    m_libraries.reset();
}

void TestAboutBox::descriptionOnEveryShowing() {
    TAboutForm form;
    QVERIFY(form.AboutText.isEmpty());
    QVERIFY(!form.isVisible());
    const QString expected = QStringLiteral("Program to allow the editing of Aircraft MDL files to "
                                            "change the colours and properties of the Materials "
                                            "used\n\n");
    for (int showing = 0; showing < 2; ++showing) {
        QString shown;
        bool wasModal = false;
        QWidget* focus = nullptr;
        QTimer::singleShot(0, &form, [&] {
            shown = child<QLabel>(form, "Label1")->text();
            wasModal = form.isModal() && form.isVisible();
            if (QTest::qWaitForWindowActive(&form))
                focus = QApplication::focusWidget();
            QTest::mouseClick(child<QPushButton>(form, "Button1"), Qt::LeftButton);
        });
        tintara::ShowAboutFor(form);
        QVERIFY(wasModal);
        QCOMPARE(focus, child<QPushButton>(form, "Button1"));
        QCOMPARE(shown, expected);
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(!form.isVisible());
    }
}

void TestAboutBox::programVersionAndTitle() {
    TAboutForm form;
    auto* version = child<QLabel>(form, "Label2");
    QCOMPARE(version->text(), QString());
    form.show();
    // This test program is built with product version 3.1.0.4.
    QCOMPARE(version->text(), QStringLiteral("Version 3.00.4"));
    QVERIFY(version->width() >= version->sizeHint().width());
    auto* tile = child<tintara::TExeButton>(form, "ExeButton1");
    QCOMPARE(tile->Caption(), QStringLiteral("tst_aboutbox"));
    QVERIFY(!tile->Icon().isNull());
    QCOMPARE(tile->size(), QSize(104, 40));
}

void TestAboutBox::libraryLines_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");
    // Names are padded to 12 characters, then " -   " and the version.
#ifdef Q_OS_WIN
    const char* oneBlank = "    "; // nvbmp.dll: 9 characters
    const char* twoBlanks = "     ";
#else
    const char* oneBlank = "  "; // libnvbmp.so: 11 characters
    const char* twoBlanks = "   ";
#endif
    QTest::newRow("version 2.3.0.7")
        << libraryFile("nvbmp") << libraryFile("nvbmp") + oneBlank + "-   2.00.7";
    QTest::newRow("whole low word of 1.0.1.0")
        << libraryFile("nvmdl") << libraryFile("nvmdl") + oneBlank + "-   1.00.65536";
    QTest::newRow("shorter name, missing")
        << libraryFile("nvio") << libraryFile("nvio") + twoBlanks + "-   Not found";
    QTest::newRow("missing") << libraryFile("nvclr")
                             << libraryFile("nvclr") + oneBlank + "-   Not found";
#ifndef Q_OS_WIN
    QTest::newRow("companion program, 6 characters") << "nvupdt"
                                                     << "nvupdt       -   Not found";
#endif
}

void TestAboutBox::libraryLines() {
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    QVERIFY(QFile::copy(TINTARA_LIB_2307, m_libraries->filePath(libraryFile("nvbmp"))));
    QVERIFY(QFile::copy(TINTARA_LIB_1010, m_libraries->filePath(libraryFile("nvmdl"))));
    TAboutForm form;
    form.show();
    QCOMPARE(lineOf(form, fileName), expected);
    // With a fixed-pitch font the versions all start in column 17.
    QCOMPARE(expected.indexOf(QLatin1String(" -   ")) + 5, 17);
}

void TestAboutBox::listsStayInStep() {
    TAboutForm form;
    form.show();
    const QStringList shown = lines(child<QListWidget>(form, "ListBox1"));
    const QStringList descriptions = lines(child<QListWidget>(form, "ListBox2"));
    QCOMPARE(shown.size(), tintara::about::LibraryCount);
    QCOMPARE(descriptions.size(), tintara::about::LibraryCount);
    QStringList sorted = shown;
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(shown, sorted);
    for (int i = 0; i < shown.size(); ++i) {
        const QString name = shown[i].section(QLatin1Char(' '), 0, 0);
        QVERIFY2(descriptions[i].startsWith(name + QLatin1String("\n\n")),
                 qPrintable(descriptions[i]));
    }
}

void TestAboutBox::libraryInstalledBetweenShowings() {
    TAboutForm form;
    const QString name = libraryFile("nvmdl");
    form.show();
    QVERIFY(lineOf(form, name).endsWith(QLatin1String(" -   Not found")));
    form.hide();
    QVERIFY(QFile::copy(TINTARA_LIB_1010, m_libraries->filePath(name)));
    form.show();
    QVERIFY(lineOf(form, name).endsWith(QLatin1String(" -   1.00.65536")));
    QCOMPARE(child<QListWidget>(form, "ListBox1")->count(), 9);
    QCOMPARE(child<QListWidget>(form, "ListBox2")->count(), 9);
}

void TestAboutBox::clickShowsDescription() {
    TAboutForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    showTab(form, 2);
    auto* list = child<QListWidget>(form, "ListBox1");
    auto* label = child<QLabel>(form, "Label3");
    QCOMPARE(label->text(), QStringLiteral("Click on entry for description"));

    const auto& table = tintara::about::LibraryTable();
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().startsWith(table[3].fileName + QLatin1Char(' ')))
            row = i;
    }
    QVERIFY(row >= 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    QCOMPARE(label->text(), table[3].description + QLatin1Char(' '));
    QVERIFY(label->text().startsWith(table[3].fileName + QLatin1String("\n\n")));

    // Moving down with the keyboard shows the next line's description.
    QTest::keyClick(list, Qt::Key_Down);
    const QString next = list->item(row + 1)->text().section(QLatin1Char(' '), 0, 0);
    QVERIFY2(label->text().startsWith(next + QLatin1String("\n\n")), qPrintable(label->text()));
    QVERIFY(label->text().endsWith(QLatin1Char(' ')));
}

void TestAboutBox::tabAndLabelKeptBetweenShowings() {
    TAboutForm form;
    auto* tabs = child<QTabWidget>(form, "PageControl1");
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, QStringList({"Program", "Norvel Graphics", "DLLs", "Copyrights"}));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(tabs->currentIndex(), 0);
    showTab(form, 2);
    auto* list = child<QListWidget>(form, "ListBox1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    const QString description = child<QLabel>(form, "Label3")->text();
    QTest::mouseClick(child<QPushButton>(form, "Button1"), Qt::LeftButton);
    QVERIFY(!form.isVisible());

    form.show();
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(child<QLabel>(form, "Label3")->text(), description);
}

// By mouse, and by keyboard: Close has the focus first, Tab reaches the link and Space
// or Return presses it.
void TestAboutBox::linkButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::newRow("web button on the maker page")
        << "MButton3" << 1 << "https://example.org/tintara" << 0;
    QTest::newRow("web button on the library page")
        << "MButton4" << 2 << "https://example.org/tintara" << 0;
    QTest::newRow("contact button") << "MButton2" << 1 << "mailto:tintara@example.org" << 0;
    QTest::newRow("contact button, Tab and Space")
        << "MButton2" << 1 << "mailto:tintara@example.org" << int(Qt::Key_Space);
    QTest::newRow("web button, Tab and Return")
        << "MButton4" << 2 << "https://example.org/tintara" << int(Qt::Key_Return);
}

void TestAboutBox::linkButtons() {
    QFETCH(QString, button);
    QFETCH(int, tab);
    QFETCH(QString, target);
    QFETCH(int, key);
    QStringList opened;
    tintara::shell::ScopedOpener recorder(
        [&](const tintara::shell::OpenRequest& request) { opened << request.target; });
    TAboutForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    showTab(form, tab);
    QSignalSpy rejected(&form, &QDialog::rejected);
    auto* picture = child<tintara::TMButton>(form, qPrintable(button));
    if (key == 0) {
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
    } else {
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(form, "Button1"));
        for (int i = 0; i < 10 && !picture->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(picture->hasFocus());
        QTest::keyClick(picture, Qt::Key(key));
    }
    QCOMPARE(opened, QStringList{target});
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!form.isVisible());
}

// The icon tile starts sunken; a click starts nothing and leaves it raised, also at
// the next showing.
void TestAboutBox::iconTileReleasesOnce() {
    QStringList opened;
    tintara::shell::ScopedOpener recorder(
        [&](const tintara::shell::OpenRequest& request) { opened << request.target; });
    TAboutForm form;
    form.show();
    auto* tile = child<tintara::TExeButton>(form, "ExeButton1");
    QVERIFY(tile->Down());
    QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
    QVERIFY(!tile->Down());
    form.hide();
    form.show();
    QVERIFY(!tile->Down());
    QVERIFY(opened.isEmpty());
}

// The terms tab states what LICENSE grants, under its holder, in its twenty lines.
void TestAboutBox::termsFollowTheLicence() {
    TAboutForm form;
    const QString terms = child<QPlainTextEdit>(form, "Memo2")->toPlainText();
    QCOMPARE(terms.split(QLatin1Char('\n')).size(), 20);
    const QString text = terms.simplified();
    for (const char* part : {"Copyright (c) " TINTARA_LICENSE_HOLDER, "MIT licence",
                             "without warranty", "GNU LGPL", "LICENSE.txt", "LICENSE.LGPL-3.txt"})
        QVERIFY2(text.contains(QLatin1String(part)), part);
    QVERIFY(!text.contains(QLatin1String("may not sell")));
}

TINTARA_TEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
