#pragma once
// The application object. An error (a C++ exception) that escapes an event handler is
// shown in the standard error display and the program goes on; an error during
// start-up is shown and the program ends before its window shows.

#include <QApplication>

#include <functional>

namespace tintara {

class Prompter;

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    // Where errors are shown; the real message boxes unless a test supplies another.
    void SetPrompter(Prompter& prompter) { m_prompter = &prompter; }
    Prompter& prompter() const { return *m_prompter; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error's text in the standard error display.
    void ShowException(const QString& text);

    // Runs `startUp` (which creates and shows the windows), then the message loop
    // until the main window closes. An error thrown by `startUp` is shown and the loop
    // does not run. Always returns the exit code 0.
    int Run(const std::function<void()>& startUp);

private:
    Prompter* m_prompter;
};

} // namespace tintara
