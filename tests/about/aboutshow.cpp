// Shows the About window on a real screen for looking at it: `aboutshow [tab]` opens
// it modally on the given tab (0 to 3) with the program's description.

#include "about/aboutbox.h"
#include "about/showabout.h"

#include <QApplication>
#include <QTabWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tintara::TAboutForm form;
    const int tab = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    form.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(tab);
    tintara::ShowAboutFor(form);
    return 0;
}
