// TForm1: "Save Updated MDL", writing the modified materials back into the file.

#include "mainwindow/tintara1x.h"

namespace tintara {

void TForm1::SaveAs1Click() {
    // Writes the modified materials back once the write-back is wired in; it ends
    // with RescanFile(), which asks nothing.
}

} // namespace tintara
