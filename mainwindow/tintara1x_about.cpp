// TForm1: the "About" button.

#include "mainwindow/tintara1x.h"

#include "about/showabout.h"

namespace tintara {

void TForm1::Button3Click() {
    if (m_aboutForm)
        tintara::ShowAboutFor(*m_aboutForm);
}

} // namespace tintara
