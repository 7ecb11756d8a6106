#pragma once

// The undo and redo steps of the log viewer's text box. A step keeps only the text an edit took
// out and the text it put in, so the history costs what was edited, not what the box holds; the
// oldest steps go once the kept text passes kLimitBytes.

#include "ui/controls/text_lines.h"

#include <QString>

#include <cstddef>
#include <deque>
#include <optional>

namespace ui {

struct EditStep {
    TextPosition from; // where the edit began
    QString removed;
    QString inserted;
};

// The position after `text` put in at `from`.
TextPosition endOfInsert(TextPosition from, const QString& text);

class EditHistory {
public:
    static constexpr qsizetype kLimitBytes = qsizetype{32} << 20;

    // Whether a step of this many UTF-16 units, taken out and put in together, can be kept.
    static bool fits(qsizetype units) { return units * qsizetype{sizeof(QChar)} <= kLimitBytes; }

    // Records an edit and drops the steps undone before it. A typed step joins the typed step
    // before it when it goes on where that one ended, so that undo takes back a typed word at
    // once, as in other text boxes.
    void record(EditStep step, bool typed);
    // Forgets all steps: after an edit too large to keep, or when the text is set anew.
    void clear();

    // The step to take back, which becomes the next to redo; empty when there is none.
    std::optional<EditStep> undo();
    // The step to make again, which becomes the next to undo; empty when there is none.
    std::optional<EditStep> redo();
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }

private:
    static qsizetype bytesOf(const EditStep& step);

    std::deque<EditStep> m_steps;
    std::size_t m_done = 0; // steps before this index are done, the rest undone
    qsizetype m_bytes = 0;
    bool m_lastTyped = false;
};

} // namespace ui
