#pragma once

// The log viewer's text box: a multi-line, editable plain-text box with both scroll bars and no
// line wrap, made for logs of a million lines. It keeps the lines in one buffer and draws only
// those in view, so that opening such a log takes a fraction of a second and little more memory
// than the file (a general text document holds several hundred bytes per line and lays them all
// out). What the user types stays in the box and can be undone; the cursor steps over what shows
// as one character (a letter with its combining accents, a composed emoji) as one.

#include "ui/controls/edit_history.h"
#include "ui/controls/text_lines.h"

#include <QAbstractScrollArea>
#include <QString>

#include <string>
#include <utility>

namespace ui {

class LogTextBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit LogTextBox(const QString& text = {}, QWidget* parent = nullptr);

    QString toPlainText() const { return m_lines.toPlainText(); }
    void setPlainText(const QString& text);
    // Appends UTF-8 text at the end without a copy when the box is empty.
    void appendUtf8(std::string text);
    bool isEmpty() const { return m_lines.isEmpty(); }
    const TextLines& lines() const { return m_lines; }

    TextPosition cursorPosition() const { return m_cursor; }
    // Moves the cursor; with `keepAnchor` the selection reaches from the anchor to it.
    void setCursorPosition(TextPosition position, bool keepAnchor = false);
    std::pair<TextPosition, TextPosition> selection() const;
    QString selectedText() const;
    void selectAll();

    // Puts text in place of the selection, as typing does; line breaks of any kind become '\n'.
    void insertPlainText(const QString& text);
    // Puts text in place of what lies between two positions; the cursor ends after it.
    void replace(TextPosition from, TextPosition to, const QString& text);
    void copy() const;
    void cut();
    void paste();
    // Take back and make again the user's edits; setting or loading the text forgets them.
    void undo();
    void redo();

    // The position nearest to a point of the viewport, and the cursor's rectangle there.
    TextPosition positionAt(QPoint point) const;
    QRect cursorRect(TextPosition position) const;
    void ensureVisible(TextPosition position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    enum class Motion {
        Left,
        Right,
        WordLeft,
        WordRight,
        Up,
        Down,
        LineStart,
        LineEnd,
        TextStart,
        TextEnd,
        PageUp,
        PageDown
    };

    enum class Record { No, Edit, Typing };
    void edit(TextPosition from, TextPosition to, const QString& text, Record record);

    bool moveByKey(QKeyEvent* event);
    bool editByKey(QKeyEvent* event);
    // Where a motion leads; an arrow without Shift first collapses a selection.
    TextPosition target(Motion motion, bool select);
    TextPosition nextCharacter(TextPosition position) const;
    TextPosition previousCharacter(TextPosition position) const;
    // The grapheme cluster boundary after the column, or the one before it.
    static qsizetype clusterEdge(const QString& line, qsizetype column, bool forward);
    TextPosition wordEdge(TextPosition position, bool forward) const;
    std::pair<TextPosition, TextPosition> wordAt(TextPosition position) const;

    int lineHeight() const;
    int visibleLines() const;
    int xOf(const QString& line, qsizetype column) const;
    qsizetype columnAt(const QString& line, int x) const;
    void widenFor(qsizetype firstLine, qsizetype lastLine);
    void updateScrollBars();
    void textReset();
    void cursorMoved();

    TextLines m_lines;
    EditHistory m_history;
    TextPosition m_cursor;
    TextPosition m_anchor;
    int m_desiredX = -1; // kept while moving up and down
    int m_contentWidth = 0;
    bool m_selecting = false;
};

} // namespace ui
