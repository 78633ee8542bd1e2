#pragma once
// Message boxes: a caption, a text, an icon and a set of buttons. Windows and the
// application ask through a Prompter, so a test can put a recording stand-in in place
// of the modal boxes.

#include <QString>
#include <QStringList>

class QWidget;

namespace tintara {

enum class PromptIcon { None, Information, Question, Warning, Critical };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Escape and the close button answer Cancel (OkCancel, YesNoCancel), No (YesNo) or Ok
// (Ok).
enum class PromptAnswer { Ok, Cancel, Yes, No };

struct PromptRequest {
    PromptRequest() = default;
    PromptRequest(QString caption_, QString text_, PromptIcon icon_ = PromptIcon::None,
                  PromptButtons buttons_ = PromptButtons::Ok, QStringList buttonTexts_ = {})
        : caption(std::move(caption_)), text(std::move(text_)), icon(icon_), buttons(buttons_),
          buttonTexts(std::move(buttonTexts_)) {}

    QString caption;
    QString text;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    // Texts for the buttons in their order (Yes, No, Cancel), in place of the standard
    // ones; empty keeps those.
    QStringList buttonTexts;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the box modally over `owner` (or over the window that has the keyboard
    // focus when owner is null) and returns the answer.
    virtual PromptAnswer ask(QWidget* owner, const PromptRequest& request) = 0;
};

// The real modal message boxes.
class MessageBoxPrompter final : public Prompter {
public:
    PromptAnswer ask(QWidget* owner, const PromptRequest& request) override;
};

// A process-wide MessageBoxPrompter for code that has not been given another one.
Prompter& DefaultPrompter();

// The standard error display: the error's text in a box with the error icon, an OK
// button and the application's display name as caption.
void ShowErrorMessage(Prompter& prompter, QWidget* owner, const QString& text);

} // namespace tintara
