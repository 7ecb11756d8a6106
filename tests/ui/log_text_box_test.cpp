// The log viewer's text box: its line store agrees with a plain string under any edit, undo and
// redo go through every step and no further, and the box answers keys, the mouse and a screen
// reader as a text box does.

#include "qt_app.h"
#include "ui/controls/log_text_box.h"
#include "ui_events.h"

#include <QAccessible>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using testsupport::press;

using ui::TextPosition;

// The offset a position may take: never between the halves of a surrogate pair.
qsizetype valid(const QString& text, qsizetype offset) {
    return offset > 0 && offset < text.size() && text[offset - 1].isHighSurrogate() &&
                   text[offset].isLowSurrogate()
               ? offset - 1
               : offset;
}

TEST(TextLines, RandomEditsAgreeWithAPlainString) {
    const std::string loaded = "erste Zeile\n\nÜbersicht \u240A zwei\n😀 Ende\n";
    ui::TextLines lines;
    lines.appendUtf8(loaded);
    QString model = QString::fromStdString(loaded);
    const QString pieces[] = {"", "x", "ä", "\n", "ab\ncd", "😀", "\n\n", "Zeile ohne Ende"};
    std::mt19937 rng(2026);
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        std::uniform_int_distribution<qsizetype> anywhere(0, model.size());
        const qsizetype a = valid(model, anywhere(rng)), b = valid(model, anywhere(rng));
        const TextPosition from = lines.position(a), to = lines.position(b);
        ASSERT_EQ(lines.offset(from), a);
        ASSERT_EQ(lines.offset(to), b);
        ASSERT_EQ(lines.text(from, to), model.mid(std::min(a, b), std::abs(a - b)));
        const QString& piece = pieces[rng() % std::size(pieces)];
        const TextPosition after = step % 97 == 0
                                       ? (lines.appendUtf8(piece.toStdString()), lines.end())
                                       : lines.replace(from, to, piece);
        if (step % 97 == 0)
            model += piece;
        else
            model.replace(std::min(a, b), std::abs(a - b), piece);
        ASSERT_EQ(lines.characterCount(), model.size());
        ASSERT_EQ(lines.lineCount(), model.count(QLatin1Char('\n')) + 1);
        if (step % 97 != 0) {
            ASSERT_EQ(lines.offset(after), std::min(a, b) + piece.size());
        }
        const QStringList modelLines = model.split(QLatin1Char('\n'));
        const qsizetype someLine = static_cast<qsizetype>(rng() % modelLines.size());
        ASSERT_EQ(lines.line(someLine), modelLines[someLine]);
        ASSERT_EQ(lines.lineLength(someLine), modelLines[someLine].size());
    }
    EXPECT_EQ(lines.toPlainText(), model);
    // A position past the end, or inside a surrogate pair, is made valid.
    lines.setText(QStringLiteral("a😀\nb"));
    EXPECT_EQ(lines.clamped({0, 2}), (TextPosition{0, 1}));
    EXPECT_EQ(lines.clamped({7, 9}), (TextPosition{1, 1}));
    EXPECT_EQ(lines.position(99), (TextPosition{1, 1}));
}

struct Keys {
    const char* what;
    QString text;
    TextPosition cursor;
    std::vector<std::pair<QKeyCombination, QString>> keys;
    QString expected;
    TextPosition expectedCursor;
    QString expectedSelection;
};

TEST(LogTextBox, KeysEditAndMoveAsInATextBox) {
    testsupport::ensureApp();
    // A log of as many characters as the undo limit has bytes: taking it all out is no step
    // that can be kept.
    const QString line = QString(1023, QLatin1Char('z')) + QLatin1Char('\n');
    const QString huge = line.repeated(ui::EditHistory::kLimitBytes / line.size());
    ASSERT_FALSE(ui::EditHistory::fits(huge.size()));
    const Keys cases[] = {
        {"typing replaces everything selected",
         "abc\ndef",
         {0, 1},
         {{Qt::ControlModifier | Qt::Key_A, {}}, {Qt::Key_X, "x"}},
         "x",
         {0, 1},
         {}},
        {"Enter breaks the line", "abcd", {0, 2}, {{Qt::Key_Return, "\r"}}, "ab\ncd", {1, 0}, {}},
        {"Backspace at a line's start joins it to the one before",
         "ab\ncd",
         {1, 0},
         {{Qt::Key_Backspace, "\b"}},
         "abcd",
         {0, 2},
         {}},
        {"Delete at a line's end joins the next one",
         "ab\ncd",
         {0, 2},
         {{Qt::Key_Delete, {}}},
         "abcd",
         {0, 2},
         {}},
        {"a character outside the BMP is one step and goes at once",
         "a😀b",
         {0, 1},
         {{Qt::Key_Right, {}}, {Qt::Key_Backspace, "\b"}, {Qt::Key_Udiaeresis, "ü"}},
         "aüb",
         {0, 2},
         {}},
        {"Shift+End selects the rest of the line",
         "eins zwei\ndrei",
         {0, 5},
         {{Qt::ShiftModifier | Qt::Key_End, {}}},
         "eins zwei\ndrei",
         {0, 9},
         "zwei"},
        {"up and down keep the column",
         "abcdef\nx\nabcdef",
         {0, 4},
         {{Qt::Key_Down, {}}, {Qt::Key_Down, {}}},
         "abcdef\nx\nabcdef",
         {2, 4},
         {}},
        {"Ctrl+Right goes to the next word, Ctrl+End to the end",
         "eins zwei\ndrei",
         {0, 0},
         {{Qt::ControlModifier | Qt::Key_Right, {}},
          {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_End, {}}},
         "eins zwei\ndrei",
         {1, 4},
         "zwei\ndrei"},
        {"an arrow ends a selection at its side",
         "abcdef",
         {0, 1},
         {{Qt::ShiftModifier | Qt::Key_Right, {}},
          {Qt::ShiftModifier | Qt::Key_Right, {}},
          {Qt::Key_Left, {}}},
         "abcdef",
         {0, 1},
         {}},
        {"undo takes back a typed word at once and brings back what it replaced",
         "abc",
         {0, 1},
         {{Qt::ShiftModifier | Qt::Key_Right, {}},
          {Qt::Key_X, "x"},
          {Qt::Key_Y, "y"},
          {Qt::ControlModifier | Qt::Key_Z, {}}},
         "abc",
         {0, 2},
         {}},
        {"redo makes the undone edits again, by either key, until a new edit",
         "abc",
         {0, 3},
         {{Qt::Key_Backspace, "\b"},
          {Qt::Key_Backspace, "\b"},
          {Qt::ControlModifier | Qt::Key_Z, {}},
          {Qt::ControlModifier | Qt::Key_Z, {}},
          {Qt::ControlModifier | Qt::Key_Y, {}},
          {Qt::ControlModifier | Qt::Key_Z, {}},
          {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z, {}},
          {Qt::Key_Return, "\r"},
          {Qt::ControlModifier | Qt::Key_Y, {}}},
         "ab\n",
         {1, 0},
         {}},
        {"a letter with a combining accent is one step for the cursor and for Delete",
         "xe\u0301e\u0301",
         {0, 1},
         {{Qt::Key_Right, {}}, {Qt::Key_Delete, {}}},
         "xe\u0301",
         {0, 3},
         {}},
        {"a step too large to keep cannot be undone, nor can the steps before it",
         huge,
         {0, 0},
         {{Qt::Key_A, "a"},
          {Qt::Key_Backspace, "\b"},
          {Qt::ControlModifier | Qt::Key_A, {}},
          {Qt::Key_B, "b"},
          {Qt::ControlModifier | Qt::Key_Z, {}}},
         "b",
         {0, 1},
         {}},
        {"Backspace takes a composed emoji at once",
         "a👍🏽b",
         {0, 5},
         {{Qt::Key_Backspace, "\b"}},
         "ab",
         {0, 1},
         {}},
    };
    for (const Keys& c : cases) {
        SCOPED_TRACE(c.what);
        ui::LogTextBox box(c.text);
        box.setCursorPosition(c.cursor);
        for (const auto& [key, text] : c.keys)
            press(box, key.key(), key.keyboardModifiers(), text);
        EXPECT_EQ(box.toPlainText(), c.expected);
        EXPECT_EQ(box.cursorPosition(), c.expectedCursor);
        EXPECT_EQ(box.selectedText(), c.expectedSelection);
    }

    // Copy and paste go through the clipboard; Esc is left to the window.
    ui::LogTextBox box(QStringLiteral("Zeile eins\nZeile zwei"));
    box.setCursorPosition({1, 0});
    box.setCursorPosition({1, 5}, true);
    press(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Zeile"));
    box.setCursorPosition({0, 0});
    press(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("ZeileZeile eins\nZeile zwei"));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&box, &esc);
    EXPECT_FALSE(esc.isAccepted());
}

// What undo and redo must give: the text after each step, one after another, where letters
// typed on from where the typing before ended make one step with it.
struct UndoModel {
    std::vector<QString> texts;
    std::size_t at = 0;
    std::optional<TextPosition> typedTo; // where typing ended that the next letter goes on from

    explicit UndoModel(const QString& text) : texts{text} {}
    void step(const QString& text, bool joins = false) {
        texts.resize(at + 1);
        if (!joins) {
            texts.emplace_back();
            ++at;
        }
        texts[at] = text;
    }
};

// Random edits as a user makes them, with undo and redo in between: pastes with line breaks,
// typing over a selection and after an undo.
TEST(LogTextBox, UndoAndRedoGoThroughEveryStepAndNoFurther) {
    testsupport::ensureApp();
    ui::LogTextBox box(QStringLiteral("eins\nzwei drei\n\nvier"));
    UndoModel model(box.toPlainText());
    const auto type = [&](const QString& letter) {
        const auto [from, to] = box.selection();
        const bool joins = from == to && model.typedTo == from;
        press(box, letter.front().unicode(), {}, letter);
        model.step(box.toPlainText(), joins);
        model.typedTo = box.cursorPosition();
    };
    const auto edit = [&](int key, Qt::KeyboardModifiers modifiers = {}) {
        press(box, key, modifiers);
        model.step(box.toPlainText());
        model.typedTo.reset();
    };
    const auto undoOrRedo = [&](bool undo) {
        press(box, undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        // Where there is nothing to take back or make again, the key changes nothing.
        if (undo ? model.at > 0 : model.at + 1 < model.texts.size()) {
            model.at = undo ? model.at - 1 : model.at + 1;
            model.typedTo.reset();
        }
    };
    const QString pastes[] = {"ab\ncd", "\n", "x\ny\n", "😀", "\n\nz"};
    const int moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,
                         Qt::Key_Down, Qt::Key_Home,  Qt::Key_End};
    std::mt19937 rng(31);
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        switch (rng() % 8) {
        case 0:
            type(rng() % 2 ? QStringLiteral("a") : QStringLiteral("b"));
            break;
        case 1:
            QApplication::clipboard()->setText(pastes[rng() % std::size(pastes)]);
            edit(Qt::Key_V, Qt::ControlModifier);
            break;
        case 2:
            edit(rng() % 2 ? Qt::Key_Backspace : Qt::Key_Delete);
            break;
        case 3:
            press(box, moves[rng() % std::size(moves)],
                  rng() % 3 ? Qt::NoModifier : Qt::ShiftModifier);
            break;
        case 4:
            box.setCursorPosition(box.lines().position(rng() % (box.lines().characterCount() + 1)));
            break;
        case 5:
        case 6:
            undoOrRedo(true);
            break;
        default:
            undoOrRedo(false);
        }
        ASSERT_EQ(box.toPlainText().toStdString(), model.texts[model.at].toStdString());
    }
}

TEST(LogTextBox, ScrollsToTheCursorAndPlacesItWhereClicked) {
    testsupport::ensureApp();
    QString text;
    for (int i = 0; i < 5000; ++i)
        text += QStringLiteral("Zeile %1\n").arg(i);
    ui::LogTextBox box(text);
    box.resize(300, 200);
    box.show();
    QApplication::processEvents();
    QScrollBar* vertical = box.verticalScrollBar();
    EXPECT_EQ(vertical->maximum(), 5001 - vertical->pageStep());

    press(box, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(box.cursorPosition(), (TextPosition{5000, 0}));
    EXPECT_EQ(vertical->value(), vertical->maximum());
    press(box, Qt::Key_PageUp);
    EXPECT_EQ(box.cursorPosition().line, 5000 - vertical->pageStep());
    EXPECT_TRUE(box.viewport()->rect().contains(box.cursorRect(box.cursorPosition())));

    // A click lands on the character under the pointer; a drag selects.
    const auto click = [&box](QPoint at) {
        QMouseEvent event(QEvent::MouseButtonPress, at, box.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &event);
    };
    vertical->setValue(100);
    click(box.cursorRect({101, 3}).center() + QPoint(1, 0));
    EXPECT_EQ(box.cursorPosition(), (TextPosition{101, 3}));
    const QPoint further = box.cursorRect({102, 5}).center();
    QMouseEvent drag(QEvent::MouseMove, further, box.viewport()->mapToGlobal(further), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &drag);
    EXPECT_EQ(box.selectedText(), QStringLiteral("le 101\nZeile"));

    // On letters with combining accents a click lands on the nearest place the cursor may
    // stand: never between a letter and its accent.
    box.setPlainText(QStringLiteral("xe\u0301e\u0301\u0308 a\u0308"));
    const QString accented = box.lines().line(0);
    const QRect first = box.cursorRect({0, 0}), last = box.cursorRect({0, accented.size()});
    for (int x = first.left(); x <= last.left(); ++x) {
        click({x, first.center().y()});
        const auto away = [&](qsizetype column) {
            return std::abs(box.cursorRect({0, column}).left() - x);
        };
        const qsizetype column = box.cursorPosition().column;
        EXPECT_FALSE(column < accented.size() && accented[column].isMark()) << x;
        for (qsizetype other = 0; other <= accented.size(); ++other) {
            if (other == accented.size() || !accented[other].isMark()) {
                EXPECT_LE(away(column), away(other)) << x << " " << other;
            }
        }
    }
}

TEST(LogTextBox, AScreenReaderReadsAndEditsTheText) {
    testsupport::ensureApp();
    ui::LogTextBox box(QStringLiteral("01.02.2024 10:00:00;\"C:\\a.txt\";1/2\nÜbersicht zwei\n"));
    box.setAccessibleName(QStringLiteral("Protokoll"));
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&box);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->role(), QAccessible::EditableText);
    EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral("Protokoll"));
    EXPECT_TRUE(reader->state().multiLine);
    EXPECT_TRUE(reader->state().editable);
    QAccessibleTextInterface* text = reader->textInterface();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->characterCount(), box.toPlainText().size());

    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(40, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("Übersicht zwei\n"));
    EXPECT_EQ(start, 35);
    EXPECT_EQ(text->textAtOffset(46, QAccessible::WordBoundary, &start, &end),
              QStringLiteral("zwei"));
    EXPECT_EQ(text->textBeforeOffset(40, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("01.02.2024 10:00:00;\"C:\\a.txt\";1/2\n"));
    EXPECT_EQ(text->textAfterOffset(46, QAccessible::LineBoundary, &start, &end), QString());
    EXPECT_EQ(text->textAtOffset(34, QAccessible::CharBoundary, &start, &end),
              QStringLiteral("\n"));

    text->setCursorPosition(36);
    EXPECT_EQ(box.cursorPosition(), (TextPosition{1, 1}));
    EXPECT_EQ(text->cursorPosition(), 36);
    text->setSelection(0, 35, 44);
    EXPECT_EQ(box.selectedText(), QStringLiteral("Übersicht"));
    int selectionStart = 0, selectionEnd = 0;
    text->selection(0, &selectionStart, &selectionEnd);
    EXPECT_EQ(std::make_pair(selectionStart, selectionEnd), std::make_pair(35, 44));

    QAccessibleEditableTextInterface* editor = reader->editableTextInterface();
    ASSERT_TRUE(editor);
    editor->replaceText(35, 44, QStringLiteral("Bericht"));
    editor->insertText(0, QStringLiteral("neu\n"));
    EXPECT_EQ(box.toPlainText(),
              QStringLiteral("neu\n01.02.2024 10:00:00;\"C:\\a.txt\";1/2\nBericht zwei\n"));
}

} // namespace
