#pragma once
// What the main window's "About" button does.

#include <QString>

namespace tintara {

class TAboutForm;

// The program's description shown on the About window's first tab.
QString programDescription();

// Sets the form's AboutText to the program's description and shows it modally; the
// result is ignored. The main window's Button3Click calls only this.
void ShowAboutFor(TAboutForm& form);

} // namespace tintara
