// TForm1: "Save Updated MDL", writing the modified materials back into the file.

#include "mainwindow/tintara1x.h"

#include "framework/Prompter.h"
#include "mainwindow/BusyCursor.h"
#include "material/WriteBack.h"

namespace tintara {

void TForm1::SaveAs1Click() {
    const PromptAnswer answer =
        prompter().ask(this, {QStringLiteral("Tintara"),
                              QStringLiteral("This will update the MDL with the new\n"
                                             "Poly Colour data. Ensure you have a\n"
                                             "backup copy somewhere safe!"),
                              PromptIcon::None, PromptButtons::OkCancel});
    if (answer != PromptAnswer::Ok)
        return;

    WriteBackResult result;
    {
        BusyCursor busy;
        result = WriteModifiedMaterials(ChosenFilePath(), MaterialTable);
    }
    ShowSaveNotes(result.notes);
    if (!result.ok) {
        // The edits stay marked modified and "Save Updated MDL" stays enabled, so the
        // user can save again once the cause is dealt with.
        prompter().ask(this, {QStringLiteral("Tintara"),
                              QStringLiteral("The materials could not be saved.\n\n%1")
                                  .arg(QString::fromStdString(result.error)),
                              PromptIcon::Critical, PromptButtons::Ok});
        return;
    }
    RescanFile();
}

} // namespace tintara
