#pragma once
// Records every message the code under test shows and answers questions
// from a script, so no test ever waits on a message box.

#include <deque>
#include <string>
#include <vector>

#include "core/appmessage.h"
#include "core/gbktext.h"

class MessageRecorder {
public:
    struct Shown {
        std::string text;  // UTF-8, for readable assertions
        int flags;
    };

    MessageRecorder() {
        previous_ = SetMessageSink([this](const std::string& gbkText, int flags) {
            shown.push_back({GbkToUtf8(gbkText), flags});
            if (!IsQuestion(flags)) return kIdOk;
            if (answers.empty()) return kIdNo;
            int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MessageRecorder() { SetMessageSink(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Texts shown so far, UTF-8.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Shown& s : shown) texts.push_back(s.text);
        return texts;
    }

    // The first line of each text shown so far, UTF-8 (a save that fails
    // says what happened there and names the file on the next line).
    std::vector<std::string> FirstLines() const {
        std::vector<std::string> lines;
        for (const Shown& s : shown) lines.push_back(s.text.substr(0, s.text.find_first_of("\r\n")));
        return lines;
    }

    std::vector<Shown> shown;
    std::deque<int> answers;  // kIdYes / kIdNo for the questions to come

private:
    MessageSink previous_;
};
