// The keys of the log viewer's text box: moving the cursor, selecting and editing.

#include "ui/controls/log_text_box.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace ui {

namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

void LogTextBox::keyPressEvent(QKeyEvent* event) {
    if (moveByKey(event) || editByKey(event))
        return;
    // Esc and the like go on to the window.
    event->ignore();
}

bool LogTextBox::moveByKey(QKeyEvent* event) {
    struct Key {
        QKeySequence::StandardKey move, select;
        Motion motion;
    };
    static constexpr Key keys[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Motion::Right},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Motion::Left},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Motion::WordRight},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Motion::WordLeft},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Motion::Down},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Motion::Up},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Motion::LineStart},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Motion::LineEnd},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
         Motion::TextStart},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Motion::TextEnd},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Motion::PageUp},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Motion::PageDown},
    };
    for (const Key& key : keys) {
        const bool move = event->matches(key.move);
        if (!move && !event->matches(key.select))
            continue;
        const bool vertical = key.motion == Motion::Up || key.motion == Motion::Down ||
                              key.motion == Motion::PageUp || key.motion == Motion::PageDown;
        const TextPosition to = target(key.motion, !move);
        if (!vertical)
            m_desiredX = -1;
        setCursorPosition(to, !move);
        return true;
    }
    return false;
}

bool LogTextBox::editByKey(QKeyEvent* event) {
    const bool selected = m_anchor != m_cursor;
    if (event->matches(QKeySequence::Undo))
        undo();
    else if (event->matches(QKeySequence::Redo))
        redo();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::Cut))
        cut();
    else if (event->matches(QKeySequence::Paste))
        paste();
    else if (event->matches(QKeySequence::InsertParagraphSeparator) ||
             event->matches(QKeySequence::InsertLineSeparator))
        insertPlainText(QStringLiteral("\n"));
    else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier))
        replace(selected ? m_anchor : previousCharacter(m_cursor), m_cursor, {});
    else if (event->matches(QKeySequence::Delete))
        replace(m_anchor, selected ? m_cursor : nextCharacter(m_cursor), {});
    else if (const QString text = event->text();
             !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                            [](QChar c) { return c.isPrint() || c.isSurrogate(); }))
        edit(m_anchor, m_cursor, text, Record::Typing);
    else
        return false;
    return true;
}

TextPosition LogTextBox::target(Motion motion, bool select) {
    const TextPosition at = m_cursor;
    const auto [from, to] = selection();
    const bool selected = from != to;
    const auto vertically = [&](qsizetype lines) {
        if (m_desiredX < 0)
            m_desiredX = xOf(m_lines.line(at.line), at.column);
        const qsizetype line = std::clamp<qsizetype>(at.line + lines, 0, m_lines.lineCount() - 1);
        return TextPosition{line, columnAt(m_lines.line(line), m_desiredX)};
    };
    switch (motion) {
    case Motion::Left:
        return selected && !select ? from : previousCharacter(at);
    case Motion::Right:
        return selected && !select ? to : nextCharacter(at);
    case Motion::WordLeft:
        return wordEdge(at, false);
    case Motion::WordRight:
        return wordEdge(at, true);
    case Motion::Up:
        return vertically(-1);
    case Motion::Down:
        return vertically(1);
    case Motion::PageUp:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - visibleLines());
        return vertically(-visibleLines());
    case Motion::PageDown:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + visibleLines());
        return vertically(visibleLines());
    case Motion::LineStart:
        return {at.line, 0};
    case Motion::LineEnd:
        return {at.line, m_lines.lineLength(at.line)};
    case Motion::TextStart:
        return {};
    case Motion::TextEnd:
        return m_lines.end();
    }
    return at;
}

qsizetype LogTextBox::clusterEdge(const QString& line, qsizetype column, bool forward) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    finder.setPosition(column);
    const qsizetype edge = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
    return edge >= 0 ? edge : (forward ? line.size() : 0);
}

TextPosition LogTextBox::nextCharacter(TextPosition position) const {
    const QString line = m_lines.line(position.line);
    if (position.column < line.size())
        return {position.line, clusterEdge(line, position.column, true)};
    return position.line + 1 < m_lines.lineCount() ? TextPosition{position.line + 1, 0} : position;
}

TextPosition LogTextBox::previousCharacter(TextPosition position) const {
    if (position.column > 0) {
        const QString line = m_lines.line(position.line);
        return {position.line, clusterEdge(line, std::min(position.column, line.size()), false)};
    }
    return position.line > 0
               ? TextPosition{position.line - 1, m_lines.lineLength(position.line - 1)}
               : position;
}

TextPosition LogTextBox::wordEdge(TextPosition position, bool forward) const {
    // Forward: over the rest of a word and the gap after it; backward: over the gap before the
    // cursor and the word before that. A line break counts as a gap.
    const auto at = [this](TextPosition p, bool before) {
        const QString line = m_lines.line(p.line);
        const qsizetype i = before ? p.column - 1 : p.column;
        return i >= 0 && i < line.size() ? line[i] : QChar(QLatin1Char('\n'));
    };
    const auto step = [&](TextPosition p) {
        return forward ? nextCharacter(p) : previousCharacter(p);
    };
    TextPosition p = position;
    if (forward) {
        while (p != m_lines.end() && isWordCharacter(at(p, false)))
            p = step(p);
        while (p != m_lines.end() && !isWordCharacter(at(p, false)))
            p = step(p);
    } else {
        while (p != TextPosition{} && !isWordCharacter(at(p, true)))
            p = step(p);
        while (p != TextPosition{} && isWordCharacter(at(p, true)))
            p = step(p);
    }
    return p;
}

std::pair<TextPosition, TextPosition> LogTextBox::wordAt(TextPosition position) const {
    const QString line = m_lines.line(position.line);
    qsizetype start = position.column, end = position.column;
    while (start > 0 && isWordCharacter(line[start - 1]))
        --start;
    while (end < line.size() && isWordCharacter(line[end]))
        ++end;
    return {{position.line, start}, {position.line, end}};
}

} // namespace ui
