#include "about/showabout.h"

#include "about/aboutbox.h"

namespace tintara {

QString programDescription() {
    return QStringLiteral("Program to allow the editing of Aircraft MDL files to change the "
                          "colours and properties of the Materials used\n\n");
}

void ShowAboutFor(TAboutForm& form) {
    form.AboutText = programDescription();
    form.exec();
}

} // namespace tintara
