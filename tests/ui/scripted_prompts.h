#pragma once

// A Prompts fake for window tests: records every box and answers from a script.

#include "ui/controls/prompts.h"

#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace testsupport {

class ScriptedPrompts : public ui::Prompts {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultButton = Answer::Ok;
        bool isInput = false;
    };

    // Answers for the next Yes/No boxes, in order; without one, Yes/No boxes answer No.
    std::deque<Answer> answers;
    // Answers for the next input boxes; without one, the box counts as cancelled.
    std::deque<QString> inputs;
    std::vector<Shown> shown;
    // Runs while a box is open, as the user could act then.
    std::function<void(const Shown&)> whileShown;

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultButton = Answer::Ok) override {
        shown.push_back({text, title, icon, buttons, defaultButton, false});
        if (whileShown)
            whileShown(shown.back());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    QString input(const QString& prompt, const QString& title, const QString&) override {
        shown.push_back({prompt, title, Icon::None, Buttons::Ok, Answer::Ok, true});
        if (inputs.empty())
            return {};
        QString s = inputs.front();
        inputs.pop_front();
        return s;
    }
};

} // namespace testsupport
