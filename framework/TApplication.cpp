#include "framework/TApplication.h"

#include "framework/Prompter.h"

#include <exception>

namespace tintara {

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), m_prompter(&DefaultPrompter()) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error"));
    }
    return false;
}

void TApplication::ShowException(const QString& text) {
    ShowErrorMessage(*m_prompter, nullptr, text);
}

int TApplication::Run(const std::function<void()>& startUp) {
    try {
        startUp();
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
        return 0;
    }
    exec();
    return 0;
}

} // namespace tintara
