// Program entry: builds the settings section name, starts the application object,
// creates the main window and runs the message loop until it closes.

#include "framework/SettingsStore.h"
#include "framework/TApplication.h"
#include "mainwindow/tintara1x.h"

#include <memory>

int main(int argc, char** argv) {
    // The section every setting lives in, before any window exists.
    const QString& section = tintara::SettingsStore::SectionName();
    (void)section;

    tintara::TApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tintara"));

    std::unique_ptr<tintara::TForm1> form;
    // The program's other windows are created here too, hidden, once they exist.
    return app.Run([&] {
        form = std::make_unique<tintara::TForm1>();
        form->show();
    });
}
