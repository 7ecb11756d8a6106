#include "ui/controls/log_text_box_accessible.h"

#include "ui/controls/log_text_box.h"

#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <mutex>

namespace ui {

namespace {

int clampedInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX));
}

class LogTextBoxAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit LogTextBoxAccessible(LogTextBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? box()->toPlainText() : QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value)
            box()->setPlainText(text);
        else
            QAccessibleWidget::setText(kind, text);
    }

    // The text.
    int characterCount() const override { return clampedInt(lines().characterCount()); }
    QString text(int startOffset, int endOffset) const override {
        return lines().text(at(startOffset), at(endOffset));
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        unitAt(offset, boundary, startOffset, endOffset);
        return text(*startOffset, *endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        unitAt(offset, boundary, startOffset, endOffset);
        if (*startOffset == 0) {
            *endOffset = 0;
            return {};
        }
        return textAtOffset(*startOffset - 1, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        unitAt(offset, boundary, startOffset, endOffset);
        if (*endOffset >= characterCount()) {
            *startOffset = *endOffset = characterCount();
            return {};
        }
        return textAtOffset(*endOffset, boundary, startOffset, endOffset);
    }
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // The cursor and the selection.
    int cursorPosition() const override { return offsetOf(box()->cursorPosition()); }
    void setCursorPosition(int position) override { box()->setCursorPosition(at(position)); }
    int selectionCount() const override {
        const auto [from, to] = box()->selection();
        return from != to ? 1 : 0;
    }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        const auto [from, to] = box()->selection();
        if (index == 0 && from != to) {
            *startOffset = offsetOf(from);
            *endOffset = offsetOf(to);
        }
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override { box()->setCursorPosition(box()->cursorPosition()); }
    void setSelection(int, int startOffset, int endOffset) override {
        box()->setCursorPosition(at(startOffset));
        box()->setCursorPosition(at(endOffset), true);
    }

    // Where the text is on screen.
    QRect characterRect(int offset) const override {
        const TextPosition position = at(offset);
        const QRect left = box()->cursorRect(position);
        const QRect right = box()->cursorRect({position.line, position.column + 1});
        const QRect rect(left.topLeft(), QSize(std::max(1, right.x() - left.x()), left.height()));
        return rect.translated(box()->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(local))
            return -1;
        return offsetOf(box()->positionAt(local));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        box()->ensureVisible(at(endIndex));
        box()->ensureVisible(at(startIndex));
    }

    // Editing.
    void deleteText(int startOffset, int endOffset) override {
        box()->replace(at(startOffset), at(endOffset), {});
    }
    void insertText(int offset, const QString& text) override {
        box()->replace(at(offset), at(offset), text);
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        box()->replace(at(startOffset), at(endOffset), text);
    }

private:
    LogTextBox* box() const { return static_cast<LogTextBox*>(widget()); }
    const TextLines& lines() const { return box()->lines(); }
    TextPosition at(int offset) const { return lines().position(offset); }
    int offsetOf(TextPosition position) const { return clampedInt(lines().offset(position)); }

    // The unit of text around an offset. Lines and paragraphs are the box's lines with their
    // line break; characters, words and sentences are found within the line, its line break
    // being a unit of its own.
    void unitAt(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                int* endOffset) const {
        const int count = characterCount();
        if (boundary == QAccessible::NoBoundary) {
            *startOffset = 0;
            *endOffset = count;
            return;
        }
        const TextPosition position = at(std::clamp(offset, 0, count));
        const int lineStart = offsetOf({position.line, 0});
        const QString line = lines().line(position.line);
        const int lineBreak = position.line + 1 < lines().lineCount() ? 1 : 0;
        if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
            *startOffset = lineStart;
            *endOffset = lineStart + static_cast<int>(line.size()) + lineBreak;
            return;
        }
        if (position.column >= line.size()) {
            *startOffset = lineStart + static_cast<int>(line.size());
            *endOffset = *startOffset + lineBreak;
            return;
        }
        const auto type = boundary == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                          : boundary == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                  : QTextBoundaryFinder::Sentence;
        QTextBoundaryFinder finder(type, line);
        finder.setPosition(position.column);
        qsizetype start = position.column;
        if (!finder.isAtBoundary())
            start = std::max<qsizetype>(0, finder.toPreviousBoundary());
        finder.setPosition(position.column);
        qsizetype end = finder.toNextBoundary();
        if (end < 0)
            end = line.size();
        *startOffset = lineStart + static_cast<int>(start);
        *endOffset = lineStart + static_cast<int>(end);
    }
};

QAccessibleInterface* logTextBoxFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ui::LogTextBox") && object && object->isWidgetType())
        return new LogTextBoxAccessible(static_cast<LogTextBox*>(object));
    return nullptr;
}

} // namespace

void installLogTextBoxAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(&logTextBoxFactory); });
}

void announceCursor(LogTextBox& box) {
    if (!QAccessible::isActive())
        return;
    const auto [from, to] = box.selection();
    if (from != to) {
        QAccessibleTextSelectionEvent selected(&box, clampedInt(box.lines().offset(from)),
                                               clampedInt(box.lines().offset(to)));
        selected.setCursorPosition(clampedInt(box.lines().offset(box.cursorPosition())));
        QAccessible::updateAccessibility(&selected);
    }
    QAccessibleTextCursorEvent moved(&box, clampedInt(box.lines().offset(box.cursorPosition())));
    QAccessible::updateAccessibility(&moved);
}

void announceEdit(LogTextBox& box, std::int64_t offset, const QString& removed,
                  const QString& inserted) {
    if (!QAccessible::isActive())
        return;
    const int position = clampedInt(offset);
    if (!removed.isEmpty() && !inserted.isEmpty()) {
        QAccessibleTextUpdateEvent updated(&box, position, removed, inserted);
        QAccessible::updateAccessibility(&updated);
    } else if (!removed.isEmpty()) {
        QAccessibleTextRemoveEvent gone(&box, position, removed);
        QAccessible::updateAccessibility(&gone);
    } else if (!inserted.isEmpty()) {
        QAccessibleTextInsertEvent added(&box, position, inserted);
        QAccessible::updateAccessibility(&added);
    }
}

} // namespace ui
