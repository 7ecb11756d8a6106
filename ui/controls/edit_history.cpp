#include "ui/controls/edit_history.h"

#include <utility>

namespace ui {

TextPosition endOfInsert(TextPosition from, const QString& text) {
    const qsizetype lastBreak = text.lastIndexOf(QLatin1Char('\n'));
    if (lastBreak < 0)
        return {from.line, from.column + text.size()};
    return {from.line + text.count(QLatin1Char('\n')), text.size() - lastBreak - 1};
}

qsizetype EditHistory::bytesOf(const EditStep& step) {
    return (step.removed.size() + step.inserted.size()) * qsizetype{sizeof(QChar)};
}

void EditHistory::record(EditStep step, bool typed) {
    while (m_steps.size() > m_done) {
        m_bytes -= bytesOf(m_steps.back());
        m_steps.pop_back();
    }
    const bool joins = typed && m_lastTyped && !m_steps.empty() && step.removed.isEmpty() &&
                       endOfInsert(m_steps.back().from, m_steps.back().inserted) == step.from;
    m_bytes += bytesOf(step);
    if (joins) {
        m_steps.back().inserted += step.inserted;
    } else {
        m_steps.push_back(std::move(step));
        m_done = m_steps.size();
    }
    m_lastTyped = typed;
    while (m_bytes > kLimitBytes && !m_steps.empty()) {
        m_bytes -= bytesOf(m_steps.front());
        m_steps.pop_front();
        --m_done;
    }
}

void EditHistory::clear() {
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
    m_lastTyped = false;
}

std::optional<EditStep> EditHistory::undo() {
    if (!canUndo())
        return std::nullopt;
    m_lastTyped = false;
    return m_steps[--m_done];
}

std::optional<EditStep> EditHistory::redo() {
    if (!canRedo())
        return std::nullopt;
    m_lastTyped = false;
    return m_steps[m_done++];
}

} // namespace ui
