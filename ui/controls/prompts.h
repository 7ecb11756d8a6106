#pragma once

#include <QString>

class QWidget;

namespace ui {

// Every message box and the input box of the program go through this interface, so that the
// windows can be driven by tests with a scripted fake.
class Prompts {
public:
    enum class Icon { None, Information, Exclamation, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompts() = default;

    // Shows a modal message box and returns the button chosen (closing a Yes/No box with Esc
    // counts as No).
    virtual Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                           Answer defaultButton = Answer::Ok) = 0;
    // Asks for a line of text; returns the typed text, or empty text when cancelled.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& defaultText = {}) = 0;
};

// Real boxes with German buttons ("OK", "Ja", "Nein", "Abbrechen").
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget* parent) { m_parent = parent; }

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultButton = Answer::Ok) override;
    QString input(const QString& prompt, const QString& title,
                  const QString& defaultText = {}) override;

private:
    QWidget* m_parent;
};

} // namespace ui
