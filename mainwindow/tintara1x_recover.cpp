// TForm1: a save of the chosen file that was interrupted (a crash, a full disk) is
// found by its journal when the file is scanned; the user decides what becomes of it.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "material/PendingSave.h"
#include "material/WriteBack.h"

namespace tintara {

void TForm1::OfferToRecoverSave() {
    const std::filesystem::path path = ChosenFilePath();
    PendingSave pending;
    try {
        pending = InspectPendingSave(path, TornJournals::Remove);
    } catch (const IoError&) {
        return; // the scan has said why the file cannot be read
    }
    const QString caption = QStringLiteral("Tintara");
    ShowSaveNotes(pending.notes);
    // A save running now is no interrupted one: its journal is not to be touched.
    if (pending.state != PendingState::Interrupted)
        return;
    PromptRequest question{
        caption,
        QStringLiteral("A save of '%1' was interrupted before it finished.\n\n"
                       "Finish it (write the changed materials), roll it back (put the "
                       "materials back as they were), or leave the file as it is for now? "
                       "The file cannot be saved until this is done.")
            .arg(load.FileName()),
        PromptIcon::Warning,
        PromptButtons::YesNoCancel,
        {QStringLiteral("Finish the save"), QStringLiteral("Roll it back"),
         QStringLiteral("Leave it")}};
    const PromptAnswer answer = prompter().ask(this, question);
    if (answer != PromptAnswer::Yes && answer != PromptAnswer::No)
        return;
    const RecoveryResult result = RecoverInterruptedSave(
        path, answer == PromptAnswer::Yes ? Recovery::Finish : Recovery::RollBack);
    ShowSaveNotes(result.notes);
    if (!result.ok)
        prompter().ask(this, {caption,
                              QStringLiteral("The interrupted save was left as it is.\n\n%1")
                                  .arg(QString::fromStdString(result.error)),
                              PromptIcon::Critical, PromptButtons::Ok});
}

void TForm1::ShowSaveNotes(const std::vector<std::string>& notes) {
    if (notes.empty())
        return;
    QStringList lines;
    for (const std::string& note : notes)
        lines << QString::fromStdString(note);
    prompter().ask(this, {QStringLiteral("Tintara"), lines.join(QStringLiteral("\n\n")),
                          PromptIcon::Information, PromptButtons::Ok});
}

} // namespace tintara
