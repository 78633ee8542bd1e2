// TForm1: choosing the file, scanning it, and the question before unsaved edits are
// dropped.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "mainwindow/BusyCursor.h"
#include "mainwindow/MaterialListModel.h"
#include "material/Conversions.h"
#include "material/MaterialScanner.h"
#include "ui_tintara1x.h"

#include <QFile>

#include <filesystem>

namespace tintara {
namespace {

const QString ScanCaption = QStringLiteral("TINTARA");
const QString ReadProblem = QStringLiteral("Sorry. Having a problem reading this MDL");

} // namespace

std::filesystem::path TForm1::ChosenFilePath() const {
#ifdef Q_OS_WIN
    return std::filesystem::path(load.FileName().toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(load.FileName()).toStdString());
#endif
}

void TForm1::loaditClick() {
    const std::optional<FileChoice> choice = load.Choose(*m_chooser, this);
    if (!choice || !ConfirmDiscardEdits())
        return;
    TakeChoice(*choice, true);
}

void TForm1::TakeChoice(const FileChoice& choice, bool fromDialog) {
    load.Accept(choice);
    const SplitPath parts = load.SplitFileName();
    ui->Edit1->setText(parts.fileName);
    const auto remember = [this, folder = parts.folder, path = load.FileName()] {
        load.SetInitialDir(folder);
        m_recent.Add(path);
    };
    if (fromDialog)
        remember();
    if (RescanFile() && !fromDialog)
        remember();
}

void TForm1::scanClick() {
    if (!HasChosenFile() || !ConfirmDiscardEdits())
        return;
    RescanFile();
}

bool TForm1::RescanFile() {
    if (!HasChosenFile())
        return false;
    // The file is then scanned as it is, whatever was decided.
    OfferToRecoverSave();
    // A scan (and so a save) starts a new history: its steps no longer match the table.
    m_history.clear();
    ScanResult result;
    {
        BusyCursor busy;
        // The list reads the table as it draws, so it lets go of every line first.
        ClearMaterialList();
        m_tableLoaded = false;
        result = ScanMaterialFile(ChosenFilePath(), MaterialTable);
    }
    switch (result.status) {
    case ScanStatus::Ok:
        break;
    case ScanStatus::OpenFailed:
        // The count label and "Save Updated MDL" keep their state.
        prompter().ask(this, {ScanCaption, QString::fromStdString(result.message),
                              PromptIcon::Critical, PromptButtons::Ok});
        return false;
    case ScanStatus::ReadFailed:
        ShowReadProblem(QString::fromStdString(result.message));
        return true;
    case ScanStatus::BadFloat:
        ShowReadProblem(QString());
        return true;
    }

    m_tableLoaded = true;
    try {
        BusyCursor busy;
        RebuildMaterialList();
    } catch (const ConversionError&) {
        ShowReadProblem(QString());
        return true;
    }
    ui->Button2->setEnabled(false);
    return true;
}

void TForm1::ShowReadProblem(const QString& detail) {
    const QString text =
        detail.isEmpty() ? ReadProblem : ReadProblem + QLatin1String("\n\n") + detail;
    prompter().ask(this, {ScanCaption, text, PromptIcon::Critical, PromptButtons::Ok});
}

bool TForm1::ConfirmDiscardEdits() {
    if (!MaterialTable.anyModified())
        return true;
    const PromptAnswer answer =
        prompter().ask(this, {QStringLiteral("Tintara"),
                              QStringLiteral("The changed materials have not been saved.\n"
                                             "Discard the changes?"),
                              PromptIcon::Question, PromptButtons::YesNo});
    return answer == PromptAnswer::Yes;
}

} // namespace tintara
