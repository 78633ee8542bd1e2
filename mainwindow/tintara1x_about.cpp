// TForm1: the "About" button.

#include "mainwindow/tintara1x.h"

namespace tintara {

void TForm1::Button3Click() {
    // Opens the About window once it exists.
}

} // namespace tintara
