#include "ui/controls/log_text_box.h"

#include "ui/controls/log_text_box_accessible.h"
#include "ui/controls/utf8_text.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace ui {

namespace {

constexpr int kMargin = 4;

// Line breaks of every kind as the box keeps them.
QString withLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

LogTextBox::LogTextBox(const QString& text, QWidget* parent) : QAbstractScrollArea(parent) {
    installLogTextBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setPlainText(text);
}

void LogTextBox::setPlainText(const QString& text) {
    m_lines.setText(withLineFeeds(text));
    textReset();
}

void LogTextBox::appendUtf8(std::string text) {
    if (!isEmpty()) {
        // Loading more is no edit; the steps before stay valid, as they all lie before the end.
        edit(m_lines.end(), m_lines.end(), fromUtf8(text), Record::No);
        return;
    }
    m_lines.appendUtf8(std::move(text));
    textReset();
}

void LogTextBox::textReset() {
    m_history.clear();
    m_cursor = m_anchor = {};
    m_desiredX = -1;
    m_contentWidth = 0;
    widenFor(m_lines.longestLoadedLine(), m_lines.longestLoadedLine());
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    announceCursor(*this);
}

void LogTextBox::setCursorPosition(TextPosition position, bool keepAnchor) {
    m_cursor = m_lines.clamped(position);
    if (!keepAnchor)
        m_anchor = m_cursor;
    cursorMoved();
}

void LogTextBox::cursorMoved() {
    ensureVisible(m_cursor);
    viewport()->update();
    announceCursor(*this);
}

std::pair<TextPosition, TextPosition> LogTextBox::selection() const {
    return std::minmax(m_anchor, m_cursor);
}

QString LogTextBox::selectedText() const {
    const auto [from, to] = selection();
    return m_lines.text(from, to);
}

void LogTextBox::selectAll() {
    m_anchor = {};
    m_cursor = m_lines.end();
    cursorMoved();
}

void LogTextBox::insertPlainText(const QString& text) {
    const auto [from, to] = selection();
    replace(from, to, text);
}

void LogTextBox::replace(TextPosition from, TextPosition to, const QString& text) {
    edit(from, to, text, Record::Edit);
}

void LogTextBox::edit(TextPosition from, TextPosition to, const QString& text, Record record) {
    from = m_lines.clamped(from);
    to = m_lines.clamped(to);
    if (to < from)
        std::swap(from, to);
    const QString inserted = withLineFeeds(text);
    const bool tell = QAccessible::isActive();
    // The size is known without taking the text out, which a huge selection would make costly.
    const auto removedSize =
        from.line == to.line ? to.column - from.column
                             : static_cast<qsizetype>(m_lines.offset(to) - m_lines.offset(from));
    const bool keep = record != Record::No && EditHistory::fits(removedSize + inserted.size());
    const QString removed = tell || keep ? m_lines.text(from, to) : QString();
    if (keep)
        m_history.record({from, removed, inserted}, record == Record::Typing);
    else if (record != Record::No)
        m_history.clear();
    m_cursor = m_anchor = m_lines.replace(from, to, inserted);
    m_desiredX = -1;
    widenFor(from.line, m_cursor.line);
    updateScrollBars();
    if (tell)
        announceEdit(*this, m_lines.offset(from), removed, inserted);
    cursorMoved();
}

void LogTextBox::undo() {
    if (const auto step = m_history.undo())
        edit(step->from, endOfInsert(step->from, step->inserted), step->removed, Record::No);
}

void LogTextBox::redo() {
    if (const auto step = m_history.redo())
        edit(step->from, endOfInsert(step->from, step->removed), step->inserted, Record::No);
}

void LogTextBox::copy() const {
    if (m_anchor != m_cursor)
        QApplication::clipboard()->setText(selectedText());
}

void LogTextBox::cut() {
    copy();
    insertPlainText({});
}

void LogTextBox::paste() {
    insertPlainText(QApplication::clipboard()->text());
}

int LogTextBox::lineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int LogTextBox::visibleLines() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

int LogTextBox::xOf(const QString& line, qsizetype column) const {
    return fontMetrics().horizontalAdvance(line.left(column));
}

qsizetype LogTextBox::columnAt(const QString& line, int x) const {
    // Advances grow with the column: the last column whose x is not past the point, then the
    // nearer edge of what shows as one character there, never a place inside it.
    qsizetype low = 0, high = line.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (xOf(line, middle) <= x)
            low = middle;
        else
            high = middle - 1;
    }
    if (low == line.size())
        return low;
    const qsizetype start = clusterEdge(line, low + 1, false);
    const qsizetype end = clusterEdge(line, start, true);
    return x - xOf(line, start) > xOf(line, end) - x ? end : start;
}

void LogTextBox::widenFor(qsizetype firstLine, qsizetype lastLine) {
    for (qsizetype i = firstLine; i <= lastLine && i < m_lines.lineCount(); ++i)
        m_contentWidth = std::max(m_contentWidth, fontMetrics().horizontalAdvance(m_lines.line(i)));
}

void LogTextBox::updateScrollBars() {
    const auto lines = static_cast<int>(std::min<qsizetype>(m_lines.lineCount(), INT_MAX));
    verticalScrollBar()->setRange(0, std::max(0, lines - visibleLines()));
    verticalScrollBar()->setPageStep(visibleLines());
    verticalScrollBar()->setSingleStep(1);
    const int width = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth + 2 * kMargin + 1 - width));
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
}

QRect LogTextBox::cursorRect(TextPosition position) const {
    position = m_lines.clamped(position);
    const int x = kMargin - horizontalScrollBar()->value() +
                  xOf(m_lines.line(position.line), position.column);
    const auto row = position.line - verticalScrollBar()->value();
    return {x, kMargin + static_cast<int>(row) * lineHeight(), 1, lineHeight()};
}

TextPosition LogTextBox::positionAt(QPoint point) const {
    const qsizetype row = std::max(0, point.y() - kMargin) / lineHeight();
    const qsizetype line = std::min(m_lines.lineCount() - 1, verticalScrollBar()->value() + row);
    const int x = point.x() - kMargin + horizontalScrollBar()->value();
    return {line, columnAt(m_lines.line(line), x)};
}

void LogTextBox::ensureVisible(TextPosition position) {
    QScrollBar* vertical = verticalScrollBar();
    if (position.line < vertical->value())
        vertical->setValue(static_cast<int>(position.line));
    else if (position.line >= vertical->value() + visibleLines())
        vertical->setValue(static_cast<int>(position.line) - visibleLines() + 1);
    QScrollBar* horizontal = horizontalScrollBar();
    const int x = xOf(m_lines.line(position.line), position.column);
    const int width = viewport()->width() - 2 * kMargin;
    if (x < horizontal->value())
        horizontal->setValue(x);
    else if (x >= horizontal->value() + width)
        horizontal->setValue(x - width + 1);
}

void LogTextBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QPalette& colors = palette();
    const int height = lineHeight(), ascent = fontMetrics().ascent();
    const int left = kMargin - horizontalScrollBar()->value();
    const auto [from, to] = selection();
    const bool selecting = from != to;
    qsizetype line = verticalScrollBar()->value();
    for (int y = kMargin; line < m_lines.lineCount() && y < viewport()->height();
         ++line, y += height) {
        const QString text = m_lines.line(line);
        painter.setPen(colors.color(QPalette::Text));
        painter.drawText(left, y + ascent, text);
        if (selecting && line >= from.line && line <= to.line) {
            // The line break of a selected line shows as a space's width.
            const int start = line == from.line ? xOf(text, from.column) : 0;
            const int end = line == to.line ? xOf(text, to.column)
                                            : fontMetrics().horizontalAdvance(text) +
                                                  fontMetrics().horizontalAdvance(QLatin1Char(' '));
            const QRect marked(left + start, y, end - start, height);
            painter.fillRect(marked, colors.brush(QPalette::Highlight));
            painter.save();
            painter.setClipRect(marked);
            painter.setPen(colors.color(QPalette::HighlightedText));
            painter.drawText(left, y + ascent, text);
            painter.restore();
        }
    }
    if (hasFocus())
        painter.fillRect(cursorRect(m_cursor), colors.brush(QPalette::Text));
}

void LogTextBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LogTextBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_contentWidth = 0;
        widenFor(m_lines.longestLoadedLine(), m_lines.longestLoadedLine());
        widenFor(m_cursor.line, m_cursor.line);
        updateScrollBars();
    }
}

void LogTextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_selecting = true;
    m_desiredX = -1;
    setCursorPosition(positionAt(event->position().toPoint()),
                      event->modifiers() & Qt::ShiftModifier);
}

void LogTextBox::mouseMoveEvent(QMouseEvent* event) {
    if (m_selecting && (event->buttons() & Qt::LeftButton))
        setCursorPosition(positionAt(event->position().toPoint()), true);
}

void LogTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const auto [start, end] = wordAt(positionAt(event->position().toPoint()));
    m_anchor = start;
    m_cursor = end;
    cursorMoved();
}

void LogTextBox::contextMenuEvent(QContextMenuEvent* event) {
    // Qt's own texts for these commands, in the language its translations were installed in.
    const auto text = [](const char* source) {
        return QCoreApplication::translate("QWidgetTextControl", source);
    };
    const bool selected = m_anchor != m_cursor;
    QMenu menu(this);
    menu.addAction(text("&Undo"), this, &LogTextBox::undo)->setEnabled(m_history.canUndo());
    menu.addAction(text("&Redo"), this, &LogTextBox::redo)->setEnabled(m_history.canRedo());
    menu.addSeparator();
    menu.addAction(text("Cu&t"), this, &LogTextBox::cut)->setEnabled(selected);
    menu.addAction(text("&Copy"), this, &LogTextBox::copy)->setEnabled(selected);
    menu.addAction(text("&Paste"), this, &LogTextBox::paste)
        ->setEnabled(!QApplication::clipboard()->text().isEmpty());
    menu.addAction(text("Delete"), this, [this] { insertPlainText({}); })->setEnabled(selected);
    menu.addSeparator();
    menu.addAction(text("Select All"), this, &LogTextBox::selectAll);
    menu.exec(event->globalPos());
}

void LogTextBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LogTextBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void LogTextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty())
        insertPlainText(event->commitString());
    event->accept();
}

QVariant LogTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return cursorRect(m_cursor).translated(viewport()->pos());
    case Qt::ImSurroundingText:
        return m_lines.line(m_cursor.line);
    case Qt::ImCursorPosition:
        return static_cast<int>(m_cursor.column);
    case Qt::ImAnchorPosition:
        return static_cast<int>(m_anchor.line == m_cursor.line ? m_anchor.column : m_cursor.column);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

} // namespace ui
