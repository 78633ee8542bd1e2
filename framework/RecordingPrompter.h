#pragma once
// A Prompter for tests: records every request instead of showing a box, and answers
// from a queue (or with a fixed default once the queue is empty).

#include "framework/Prompter.h"

#include <QList>

#include <deque>

namespace tintara {

class RecordingPrompter final : public Prompter {
public:
    PromptAnswer ask(QWidget* /*owner*/, const PromptRequest& request) override {
        requests.append(request);
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
        }
        return defaultConfirms ? PromptAnswer::Yes : PromptAnswer::No;
    }

    QList<PromptRequest> requests;
    std::deque<PromptAnswer> answers;
    bool defaultConfirms = true;
};

} // namespace tintara
