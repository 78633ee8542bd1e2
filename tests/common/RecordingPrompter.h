#pragma once
// A Prompter for tests: records every request and the owner it was shown over instead
// of showing a box, and answers from a queue (or with a fixed default once the queue is
// empty).

#include "framework/Prompter.h"

#include <QList>

#include <deque>

namespace tintara {

class RecordingPrompter final : public Prompter {
public:
    PromptAnswer ask(QWidget* owner, const PromptRequest& request) override {
        requests.append(request);
        owners.append(owner);
        if (!answers.empty()) {
            const PromptAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        switch (request.buttons) {
        case PromptButtons::Ok:
            return PromptAnswer::Ok;
        case PromptButtons::OkCancel:
            return defaultConfirms ? PromptAnswer::Ok : PromptAnswer::Cancel;
        case PromptButtons::YesNo:
            break;
        case PromptButtons::YesNoCancel:
            return PromptAnswer::Cancel; // unanswered three-way questions change nothing
        }
        return defaultConfirms ? PromptAnswer::Yes : PromptAnswer::No;
    }

    QList<PromptRequest> requests;
    QList<QWidget*> owners; // one for each request; null for "the active window"
    std::deque<PromptAnswer> answers;
    bool defaultConfirms = true;
};

} // namespace tintara
