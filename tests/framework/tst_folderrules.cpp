// The file dialog's folder rules for Windows and POSIX paths, and the dialog object
// that keeps the chosen file, folder and filter.

#include "framework/OpenDialog.h"
#include "testsupport.h"

using namespace tintara;

Q_DECLARE_METATYPE(tintara::PathStyle)

class FolderRulesTest : public QObject {
    Q_OBJECT
private slots:
    void initialFolderRule_data();
    void initialFolderRule();
    void splitChosenPath_data();
    void splitChosenPath();
    void dialogTakesOverAChoiceOnlyWhenAccepted();
    void dialogHoldsThePlatformSeparators_data();
    void dialogHoldsThePlatformSeparators();
};

void FolderRulesTest::initialFolderRule_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("held");
    const PathStyle w = PathStyle::Windows;
    const PathStyle p = PathStyle::Posix;
    QTest::newRow("win drive root kept") << w << "c:\\"
                                         << "c:\\";
    QTest::newRow("win final backslash dropped") << w << "D:\\models\\"
                                                 << "D:\\models";
    QTest::newRow("win no final backslash") << w << "D:\\models"
                                            << "D:\\models";
    QTest::newRow("win single backslash") << w << "\\"
                                          << "\\";
    QTest::newRow("win share") << w << "\\\\server\\share\\"
                               << "\\\\server\\share";
    QTest::newRow("win only one dropped") << w << "D:\\a\\\\"
                                          << "D:\\a\\";
    QTest::newRow("win slash is not a separator") << w << "D:/a/"
                                                  << "D:/a/";
    QTest::newRow("win empty") << w << ""
                               << "";
    QTest::newRow("posix root kept") << p << "/"
                                     << "/";
    QTest::newRow("posix final slash dropped") << p << "/home/u/models/"
                                               << "/home/u/models";
    QTest::newRow("posix plain") << p << "/home/u"
                                 << "/home/u";
    QTest::newRow("posix backslash is a character") << p << "/a\\"
                                                    << "/a\\";
}

void FolderRulesTest::initialFolderRule() {
    QFETCH(PathStyle, style);
    QFETCH(QString, given);
    QFETCH(QString, held);
    QCOMPARE(ApplyInitialFolderRule(given, style), held);
}

void FolderRulesTest::splitChosenPath_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("heldFolder");
    const PathStyle w = PathStyle::Windows;
    const PathStyle p = PathStyle::Posix;
    QTest::newRow("win in a folder") << w << "D:\\models\\plane.mdl"
                                     << "D:\\models\\"
                                     << "plane.mdl"
                                     << "D:\\models";
    QTest::newRow("win at the root") << w << "C:\\plane.mdl"
                                     << "C:\\"
                                     << "plane.mdl"
                                     << "C:\\";
    QTest::newRow("win drive relative") << w << "C:plane.mdl"
                                        << "C:"
                                        << "plane.mdl"
                                        << "C:";
    QTest::newRow("posix in a folder") << p << "/home/u/plane.mdl"
                                       << "/home/u/"
                                       << "plane.mdl"
                                       << "/home/u";
    QTest::newRow("posix at the root") << p << "/plane.mdl"
                                       << "/"
                                       << "plane.mdl"
                                       << "/";
    QTest::newRow("posix colon is a character") << p << "/m/a:b.mdl"
                                                << "/m/"
                                                << "a:b.mdl"
                                                << "/m";
}

void FolderRulesTest::splitChosenPath() {
    QFETCH(PathStyle, style);
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(QString, heldFolder);
    const SplitPath parts = SplitChosenPath(path, style);
    QCOMPARE(parts.folder, folder);
    QCOMPARE(parts.fileName, fileName);
    QCOMPARE(ApplyInitialFolderRule(parts.folder, style), heldFolder);
}

namespace {
class OneChoice final : public FileChooser {
public:
    std::optional<FileChoice> ChooseFileToOpen(QWidget*, const FileChoiceRequest& r) override {
        seen = r;
        return choice;
    }
    std::optional<FileChoice> choice;
    FileChoiceRequest seen;
};
} // namespace

void FolderRulesTest::dialogTakesOverAChoiceOnlyWhenAccepted() {
    OpenDialog dialog({"A (*.a)", "B (*.b)"}, PathStyle::Windows);
    dialog.SetInitialDir("D:\\models\\");
    QCOMPARE(dialog.InitialDir(), QStringLiteral("D:\\models"));
    QCOMPARE(dialog.FilterIndex(), 1);

    OneChoice chooser;
    chooser.choice = FileChoice{"E:\\x\\y.bgl", 2};
    const auto choice = dialog.Choose(chooser, nullptr);
    QCOMPARE(chooser.seen.initialFolder, QStringLiteral("D:\\models"));
    QCOMPARE(chooser.seen.filterIndex, 1);
    QVERIFY(dialog.FileName().isEmpty());

    dialog.Accept(*choice);
    QCOMPARE(dialog.FileName(), QStringLiteral("E:\\x\\y.bgl"));
    QCOMPARE(dialog.FilterIndex(), 2);
    QCOMPARE(dialog.SplitFileName().fileName, QStringLiteral("y.bgl"));
}

// Qt's dialog hands back "/" on Windows too; the dialog object holds, splits and
// stores paths with the platform's own separators whatever it is given.
void FolderRulesTest::dialogHoldsThePlatformSeparators_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    const PathStyle w = PathStyle::Windows;
    QTest::newRow("win slashes") << w << "D:/models/plane.mdl"
                                 << "D:\\models\\plane.mdl"
                                 << "D:\\models"
                                 << "plane.mdl";
    QTest::newRow("win mixed") << w << "D:\\models/sub/b.bgl"
                               << "D:\\models\\sub\\b.bgl"
                               << "D:\\models\\sub"
                               << "b.bgl";
    QTest::newRow("win root") << w << "C:/plane.mdl"
                              << "C:\\plane.mdl"
                              << "C:\\"
                              << "plane.mdl";
    QTest::newRow("posix backslash kept") << PathStyle::Posix << "/m/a\\b.mdl"
                                          << "/m/a\\b.mdl"
                                          << "/m"
                                          << "a\\b.mdl";
}

void FolderRulesTest::dialogHoldsThePlatformSeparators() {
    QFETCH(PathStyle, style);
    QFETCH(QString, chosen);
    QFETCH(QString, held);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    OpenDialog dialog({"A (*.a)"}, style);
    dialog.Accept(FileChoice{chosen, 1});
    QCOMPARE(dialog.FileName(), held);
    const SplitPath parts = dialog.SplitFileName();
    QCOMPARE(parts.fileName, fileName);
    dialog.SetInitialDir(parts.folder);
    QCOMPARE(dialog.InitialDir(), folder);
    // A stored folder given with slashes and a final separator.
    dialog.SetInitialDir(QString(chosen)
                             .replace(QLatin1Char('\\'), QLatin1Char('/'))
                             .left(chosen.size() - fileName.size()));
    if (style == PathStyle::Windows)
        QCOMPARE(dialog.InitialDir(), folder);
}

TINTARA_TEST_MAIN(FolderRulesTest)
#include "tst_folderrules.moc"
