// A small program on the application object for the application test: it throws from
// an event handler or during start-up and prints what the error display was asked
// to show.

#include "framework/Prompter.h"
#include "framework/TApplication.h"

#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

class PrintingPrompter final : public tintara::Prompter {
public:
    tintara::PromptAnswer ask(QWidget*, const tintara::PromptRequest& request) override {
        std::printf("shown: %s\n", qPrintable(request.text));
        std::fflush(stdout);
        return tintara::PromptAnswer::Ok;
    }
};

class Thrower final : public QObject {
protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw std::runtime_error("failure in a handler");
        return QObject::event(e);
    }
};

} // namespace

int main(int argc, char** argv) {
    tintara::TApplication app(argc, argv);
    PrintingPrompter prompter;
    app.SetPrompter(prompter);
    const bool startupFails = argc > 1 && std::strcmp(argv[1], "startup") == 0;
    Thrower thrower;
    const int code = app.Run([&] {
        if (startupFails)
            throw std::runtime_error("failure during start-up");
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTimer::singleShot(0, &app, [] {
            std::printf("loop went on\n");
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    });
    std::printf("exit %d\n", code);
    return code;
}
