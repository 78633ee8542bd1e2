// What a desktop user expects of the window: opening a file named at start, a file
// dropped on the window (its text fields included), the recent files on a right-click
// in Edit1, and the keyboard (Return on buttons, arrows in the channel fields).

#include "FormFixture.h"
#include "MaterialBytes.h"
#include "testsupport.h"

#include "mainwindow/MaterialPreviewWindow.h"

#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QUrl>

using namespace tintara;
using namespace tintara::test;

class MainWindowOpenTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openFile_data();
    void openFile();
    void unsavedEditsAreAskedAboutFirst();
    void droppedFileOpensEvenOnATextField_data();
    void droppedFileOpensEvenOnATextField();
    void recentFilesAreKeptAndOffered();
    void returnPressesTheFocusedButton();
    void arrowKeysStepTheChannelFields_data();
    void arrowKeysStepTheChannelFields();
    void undoAndRedoSendBacks();
    void undoKeysInATextFieldUndoTyping();
    void undoneSendBackLeavesItsBytesThroughASave();
    void previewFollowsThePanel();
    void helpLinesFitTheirField();

private:
    std::unique_ptr<FormFixture> f;
    ProbeForm* form = nullptr;
    QString m_savedFolder;
};

void MainWindowOpenTest::init() {
    f = std::make_unique<FormFixture>();
    MaterialBytes file;
    file.fill(20).list({MakeEntry(1.0f, 0.5f, 0.0f, 1.0f), MakeEntry(0, 0, 1, 1)});
    QDir().mkpath(f->path("models"));
    for (const char* name : {"models/plane.mdl", "models/airport.BGL", "models/other.mdl"})
        file.writeTo(FsPath(f->path(name)));
    m_savedFolder = QDir::currentPath();
    form = &f->create();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void MainWindowOpenTest::cleanup() {
    QDir::setCurrent(m_savedFolder);
    f.reset();
}

void MainWindowOpenTest::openFile_data() {
    QTest::addColumn<QString>("given"); // relative to the temporary folder
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("relative model") << "models/plane.mdl"
                                    << "LOD 01 01 0000001C  FF 7F 00 FF";
    QTest::newRow("scenery by its extension") << "models/airport.BGL"
                                              << "OBJ 01 01 0000001C  FF 7F 00 FF";
    // What fails to open changes no setting: neither "Load" nor the recent files.
    QTest::newRow("missing") << "models/gone.mdl"
                             << "";
    QTest::newRow("folder") << "models"
                            << "";
}

void MainWindowOpenTest::openFile() {
    QFETCH(QString, given);
    QFETCH(QString, firstLine);
    QDir::setCurrent(f->path("."));
    const QString folderBefore = form->openDialog().InitialDir();
    form->OpenFile(given);
    const QString name = given.section(QLatin1Char('/'), -1);
    QCOMPARE(f->child<QLineEdit>("Edit1")->text(), name);
    QCOMPARE(form->openDialog().FileName(), f->nativePath(given));
    if (firstLine.isEmpty()) {
        QCOMPARE(f->prompter.requests.size(), 1);
        QVERIFY(f->prompter.requests[0].text.contains(name));
        QCOMPARE(f->prompter.requests[0].icon, PromptIcon::Critical);
        QVERIFY(form->isVisible());
        QVERIFY(form->close());
        QCOMPARE(f->settings()->value("Load").toString(), folderBefore);
        QCOMPARE(f->settings()->value("Recent").toString(), QString());
        return;
    }
    QCOMPARE(form->openDialog().InitialDir(), f->nativePath("models"));
    QCOMPARE(f->lines().value(0), firstLine);
    QVERIFY(f->prompter.requests.isEmpty());
}

void MainWindowOpenTest::unsavedEditsAreAskedAboutFirst() {
    form->OpenFile(f->path("models/plane.mdl"));
    form->table()[0].Modified = 1;
    f->prompter.answers.push_back(PromptAnswer::No);
    form->OpenFile(f->path("models/other.mdl"));
    QCOMPARE(f->prompter.requests.size(), 1);
    QCOMPARE(f->prompter.requests[0].buttons, PromptButtons::YesNo);
    QCOMPARE(f->child<QLineEdit>("Edit1")->text(), QStringLiteral("plane.mdl"));
}

// One local file opens wherever it is dropped, taken as a copy; anything else is
// refused before a text field can insert it, and several files are told to come one at
// a time.
void MainWindowOpenTest::droppedFileOpensEvenOnATextField_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<int>("actions");
    QTest::addColumn<bool>("opens");
    const int copyOrMove = Qt::CopyAction | Qt::MoveAction;
    QTest::newRow("one file on Edit1") << "Edit1"
                                       << "file" << copyOrMove << true;
    QTest::newRow("one file on the help text") << "Memo1"
                                               << "file" << copyOrMove << true;
    QTest::newRow("a file offered only as a move") << "Edit1"
                                                   << "file" << int(Qt::MoveAction) << false;
    QTest::newRow("two files") << "Edit1"
                               << "two files" << copyOrMove << false;
    QTest::newRow("text on the help text") << "Memo1"
                                           << "text" << copyOrMove << false;
    QTest::newRow("a web link") << "Edit1"
                                << "link" << copyOrMove << false;
}

void MainWindowOpenTest::droppedFileOpensEvenOnATextField() {
    QFETCH(QString, target);
    QFETCH(QString, payload);
    QFETCH(int, actions);
    QFETCH(bool, opens);
    auto* memo = f->child<QPlainTextEdit>("Memo1");
    // Drags reach a text area through its viewport.
    QWidget* widget = target == "Memo1" ? memo->viewport() : f->child<QWidget>("Edit1");
    const auto text = [&] {
        return target == "Memo1" ? memo->toPlainText() : f->child<QLineEdit>("Edit1")->text();
    };
    const QString before = text();
    QMimeData data;
    const QUrl file = QUrl::fromLocalFile(f->path("models/plane.mdl"));
    if (payload == "file")
        data.setUrls({file});
    else if (payload == "two files")
        data.setUrls({file, QUrl::fromLocalFile(f->path("models/other.mdl"))});
    else if (payload == "link")
        data.setUrls({QUrl(QStringLiteral("https://example.org/plane.mdl"))});
    data.setText(f->path("models/plane.mdl"));
    const auto allowed = Qt::DropActions(actions);
    QDragEnterEvent enter(QPoint(5, 5), allowed, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    QCOMPARE(enter.isAccepted(), opens || payload == "two files");
    if (enter.isAccepted())
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), allowed, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
    QCOMPARE(f->lines().size(), opens ? 2 : 0);
    if (!opens)
        QCOMPARE(text(), before);
    QCOMPARE(f->prompter.requests.size(), payload == "two files" ? 1 : 0);
    if (payload == "two files") {
        QCOMPARE(f->prompter.requests[0].text, QStringLiteral("Drop one file at a time"));
        QCOMPARE(f->prompter.requests[0].caption, QStringLiteral("TINTARA"));
        QCOMPARE(f->prompter.requests[0].icon, PromptIcon::Information);
    }
}

// The newest first, kept at close and read at the next start; picking one opens it.
void MainWindowOpenTest::recentFilesAreKeptAndOffered() {
    form->OpenFile(f->path("models/plane.mdl"));
    form->OpenFile(f->path("models/other.mdl"));
    QMenu* menu = form->CreateEdit1Menu();
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.value(0)->text(), f->nativePath("models/other.mdl"));
    QCOMPARE(actions.value(1)->text(), f->nativePath("models/plane.mdl"));
    QVERIFY(actions.value(2)->isSeparator());
    actions.value(1)->trigger();
    delete menu;
    QCOMPARE(f->child<QLineEdit>("Edit1")->text(), QStringLiteral("plane.mdl"));
    QVERIFY(form->close());

    const QStringList stored = f->settings()->value("Recent").toString().split('\n');
    QCOMPARE(stored,
             QStringList({f->nativePath("models/plane.mdl"), f->nativePath("models/other.mdl")}));
    ProbeForm& again = f->create();
    QMenu* next = again.CreateEdit1Menu();
    QCOMPARE(next->actions().value(0)->text(), f->nativePath("models/plane.mdl"));
    delete next;

    // A file gone since is no longer offered, and one that fails to open is dropped.
    QVERIFY(QFile::remove(f->path("models/other.mdl")));
    next = again.CreateEdit1Menu();
    QCOMPARE(next->actions().value(0)->text(), f->nativePath("models/plane.mdl"));
    QVERIFY(next->actions().value(1)->isSeparator());
    delete next;
    QVERIFY(QFile::remove(f->path("models/plane.mdl")));
    QVERIFY(QDir().mkpath(f->path("models/plane.mdl")));
    f->prompter.answers.push_back(PromptAnswer::Ok);
    again.OpenFile(f->path("models/plane.mdl"));
    QVERIFY(again.close());
    QCOMPARE(f->settings()->value("Recent").toString(), QString());
}

void MainWindowOpenTest::returnPressesTheFocusedButton() {
    QPushButton* choose = f->child<QPushButton>("Button1");
    choose->setFocus();
    QTest::keyClick(choose, Qt::Key_Return);
    QCOMPARE(f->chooser.requests.size(), std::size_t{1}); // the file dialog was asked for
    QTest::keyClick(choose, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f->chooser.requests.size(), std::size_t{2});
}

void MainWindowOpenTest::arrowKeysStepTheChannelFields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");
    QTest::newRow("up") << "NumEdit1"
                        << "10" << int(Qt::Key_Up) << "11";
    QTest::newRow("down") << "NumEdit2"
                          << "10" << int(Qt::Key_Down) << "9";
    QTest::newRow("page up by ten") << "NumEdit3"
                                    << "10" << int(Qt::Key_PageUp) << "20";
    QTest::newRow("page down stops at 0") << "NumEdit4"
                                          << "5" << int(Qt::Key_PageDown) << "0";
    QTest::newRow("up stops at 255") << "NumEdit1"
                                     << "250" << int(Qt::Key_PageUp) << "255";
}

void MainWindowOpenTest::arrowKeysStepTheChannelFields() {
    QFETCH(QString, field);
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, after);
    QLineEdit* edit = f->child<QLineEdit>(field.toLatin1().constData());
    edit->setFocus();
    edit->setText(start);
    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(edit->text(), after);
}

// Each send-back is one step: undone and redone with the keys, restoring the entries
// (their stored bytes and Modified flags), the lines, the save button, and selecting
// the highest line it changed, as the send-back does. A scan clears the history.
void MainWindowOpenTest::undoAndRedoSendBacks() {
    form->OpenFile(f->path("models/plane.mdl"));
    const MaterialRecord original = form->materials()[1];
    const QStringList lines = f->lines();
    f->clickLine(1);
    f->clickLine(0, Qt::ControlModifier);
    f->click("Button4");
    f->child<QLineEdit>("NumEdit1")->setText(QStringLiteral("10"));
    f->click("Button13");
    f->click("Button6");
    QVERIFY(f->lines() != lines);
    QAbstractItemView* list = f->list();
    list->setFocus();
    const auto same = [](const MaterialRecord& a, const MaterialRecord& b) {
        return a.Red[0] == b.Red[0] && a.Modified == b.Modified &&
               a.ChangedFields == b.ChangedFields && a.Stored == b.Stored;
    };
    const MaterialRecord edited = form->materials()[1];

    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(same(form->materials()[1], original));
    QCOMPARE(f->lines(), lines);
    QVERIFY(!f->child<QPushButton>("Button2")->isEnabled());
    QCOMPARE(f->selectedLines(), QList<int>({1}));
    for (const auto& redo : {QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z),
                             QKeyCombination(Qt::ControlModifier, Qt::Key_Y)}) {
        QTest::keyClick(list, redo.key(), redo.keyboardModifiers());
        QVERIFY(same(form->materials()[1], edited));
        QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(same(form->materials()[1], original));
    }
    QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
    // Another program writes the entry; after the rescan no step is left that could put
    // back the bytes of the earlier scan.
    QFile file(f->path("models/plane.mdl"));
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(original.FileOffset));
    const char quarter[4] = {0, 0, char(0x80), char(0x3E)}; // 0.25f, little-endian
    QCOMPARE(file.write(quarter, 4), qint64(4));
    file.close();
    f->prompter.answers.push_back(PromptAnswer::Yes); // drop the edits
    f->click("scan");
    const MaterialRecord rescanned = form->materials()[1];
    QCOMPARE(rescanned.Red[0], 0.25f);
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(same(form->materials()[1], rescanned)); // nothing left to undo
}

void MainWindowOpenTest::undoKeysInATextFieldUndoTyping() {
    form->OpenFile(f->path("models/plane.mdl"));
    f->clickLine(0);
    f->click("Button6");
    QVERIFY(form->materials()[0].Modified);
    QLineEdit* power = f->child<QLineEdit>("NumEdit5");
    power->setFocus();
    power->selectAll();
    QTest::keyClicks(power, "42");
    QTest::keyClick(power, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(power->text() != QStringLiteral("42")); // the field's own undo
    QVERIFY(form->materials()[0].Modified);         // the send-back stays
}

// Ctrl+P opens the lit preview; it follows the line shown and the adjustment panel,
// and reading the power for it changes no field.
void MainWindowOpenTest::previewFollowsThePanel() {
    form->OpenFile(f->path("models/plane.mdl"));
    f->clickLine(0);
    QTest::keyClick(f->list(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(form->PreviewWindow() && form->PreviewWindow()->isVisible());
    const auto litColour = [&] { return QColor(form->PreviewWindow()->Image().pixel(90, 80)); };
    QVERIFY(litColour().red() > litColour().blue()); // line 0: diffuse orange
    f->clickLine(1);
    QVERIFY(litColour().blue() > litColour().red()); // line 1: diffuse blue
    f->click("Button4"); // blue into the adjustment panel, its indicator shown
    QCOMPARE(form->PreviewWindow()->Note(), QString()); // the panel holds the swatch's colour
    f->child<QLineEdit>("NumEdit1")->setText(QStringLiteral("255"));
    f->child<QLineEdit>("NumEdit3")->setText(QStringLiteral("0"));
    QVERIFY(litColour().red() > litColour().blue()); // the panel's colour, not yet taken
    QCOMPARE(form->PreviewWindow()->Note(),
             QStringLiteral("Diffuse shown from the adjustment panel: press << to keep it"));
    f->click("Button13"); // taken back into the swatch
    QCOMPARE(form->PreviewWindow()->Note(), QString());
    QLineEdit* power = f->child<QLineEdit>("NumEdit5");
    power->setText(QStringLiteral("1,2,3"));
    QCOMPARE(power->text(), QStringLiteral("1,2,3"));
}

// Two send-backs, the second undone, then a save: the file holds the first and, for
// the entry of the second, exactly the bytes it had.
void MainWindowOpenTest::undoneSendBackLeavesItsBytesThroughASave() {
    const auto path = FsPath(f->path("models/plane.mdl"));
    const std::vector<unsigned char> original = ReadAllBytes(path);
    form->OpenFile(f->path("models/plane.mdl"));
    for (const int line : {0, 1}) {
        f->clickLine(line);
        f->click("Button4");
        f->child<QLineEdit>("NumEdit1")->setText(QStringLiteral("10"));
        f->click("Button13");
        f->click("Button6");
    }
    f->list()->setFocus();
    QTest::keyClick(f->list(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f->child<QPushButton>("Button2")->isEnabled());
    f->click("Button2");
    const std::vector<unsigned char> saved = ReadAllBytes(path);
    const auto entry = [](const std::vector<unsigned char>& bytes, int index) {
        const auto at = bytes.begin() + 20 + 8 + 68 * index;
        return std::vector<unsigned char>(at, at + 68);
    };
    QVERIFY(entry(saved, 0) != entry(original, 0));
    QVERIFY(entry(saved, 1) == entry(original, 1));
    QCOMPARE(saved.size(), original.size());
}

// The help's lines keep whole, so none wraps into a line holding a single word.
void MainWindowOpenTest::helpLinesFitTheirField() {
    auto* help = f->child<QPlainTextEdit>("Memo1");
    const QFontMetricsF metrics(help->font());
    const qreal room = help->viewport()->width() - 2 * help->document()->documentMargin();
    const QStringList lines = help->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 38);
    for (const QString& line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= room, qPrintable(line));
}

TINTARA_TEST_MAIN(MainWindowOpenTest)
#include "tst_mainwindow_open.moc"
