// Program entry: builds the settings section name, starts the application object,
// creates the main window and the hidden About window, opens a file named on the
// command line, and runs the message loop until the main window closes.

#include "about/aboutbox.h"
#include "framework/SettingsStore.h"
#include "framework/TApplication.h"
#include "mainwindow/tintara1x.h"

#include <QCoreApplication>
#include <QIcon>
#include <QTimer>

#include <memory>

#ifndef _WIN32
#include <signal.h>
#endif

namespace {

// The first argument after the program that is not an option ("--" ends the options).
QString FileToOpen(const QStringList& arguments) {
    bool options = true;
    for (const QString& argument : arguments.mid(1)) {
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (!options || !argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    // The section every setting lives in, before any window exists.
    const QString& section = tintara::SettingsStore::SectionName();
    (void)section;
#ifndef _WIN32
    // A save past the file size limit fails with EFBIG and is rolled back and reported,
    // instead of ending the editor with the user's edits.
    ::signal(SIGXFSZ, SIG_IGN);
#endif

    tintara::TApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tintara"));

    std::unique_ptr<tintara::TForm1> form;
    return app.Run([&] {
        form = std::make_unique<tintara::TForm1>();
        // The main window's icon (its resources are loaded by now) is the program's
        // icon, which the About window shows.
        app.setWindowIcon(QIcon(QStringLiteral(":/tintara/tintara.png")));
        // Hidden until "About" shows it; the main window owns it.
        auto* about = new tintara::TAboutForm(form.get());
        form->SetAboutForm(about);
        form->show();
        // A file named on the command line (the desktop's "Open with") is opened once
        // the window shows, as if chosen with "?".
        const QString file = FileToOpen(QCoreApplication::arguments());
        if (!file.isEmpty())
            QTimer::singleShot(0, form.get(), [&form, file] { form->OpenFile(file); });
    });
}
