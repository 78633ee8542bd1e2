#include "framework/Prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace tintara {
namespace {

QMessageBox::Icon ToBoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

PromptAnswer MessageBoxPrompter::ask(QWidget* owner, const PromptRequest& request) {
    if (!owner)
        owner = QApplication::activeWindow();
    QMessageBox box(ToBoxIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    owner);
    switch (request.buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case PromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    const QMessageBox::StandardButton order[] = {QMessageBox::Yes, QMessageBox::No,
                                                 QMessageBox::Cancel};
    for (qsizetype i = 0; i < request.buttonTexts.size() && i < 3; ++i)
        if (QAbstractButton* button = box.button(order[i]))
            button->setText(request.buttonTexts[i]);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        break;
    }
    return request.buttons == PromptButtons::YesNo ? PromptAnswer::No
           : request.buttons == PromptButtons::Ok  ? PromptAnswer::Ok
                                                   : PromptAnswer::Cancel;
}

Prompter& DefaultPrompter() {
    static MessageBoxPrompter prompter;
    return prompter;
}

void ShowErrorMessage(Prompter& prompter, QWidget* owner, const QString& text) {
    prompter.ask(owner, {QGuiApplication::applicationDisplayName(), text, PromptIcon::Critical,
                         PromptButtons::Ok});
}

} // namespace tintara
