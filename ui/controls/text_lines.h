#pragma once

// The lines of the log viewer's text box. A log of a million lines is held as the one UTF-8
// buffer it was loaded as, with the place of each line; only lines the user edits become
// strings of their own. Positions count UTF-16 units, as Qt's strings and a screen reader do.

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

struct TextPosition {
    qsizetype line = 0;
    qsizetype column = 0;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
    friend auto operator<=>(const TextPosition&, const TextPosition&) = default;
};

class TextLines {
public:
    TextLines(); // one empty line

    // Replaces everything; lines end at '\n'.
    void setText(const QString& text);
    // Appends UTF-8 text at the end; onto an empty text the buffer is taken over as it is.
    void appendUtf8(std::string text);

    qsizetype lineCount() const { return static_cast<qsizetype>(m_lines.size()); }
    bool isEmpty() const { return m_lines.size() == 1 && lineLength(0) == 0; }
    QString line(qsizetype index) const;
    qsizetype lineLength(qsizetype index) const;
    // The line that was the longest when the text was set; the box's width starts from it.
    qsizetype longestLoadedLine() const { return m_longestLoaded; }

    // The text between two positions, lines joined by '\n'.
    QString text(TextPosition from, TextPosition to) const;
    QString toPlainText() const;
    TextPosition end() const;
    // Puts `text` in place of what lies between the positions; returns the position after it.
    TextPosition replace(TextPosition from, TextPosition to, const QString& text);

    // Offsets into the whole text, line breaks counted as one unit each.
    std::int64_t characterCount() const;
    std::int64_t offset(TextPosition position) const;
    TextPosition position(std::int64_t offset) const;
    // The position made valid: inside the text, never between the halves of a surrogate pair.
    TextPosition clamped(TextPosition position) const;

private:
    struct Line {
        std::uint64_t begin = 0;  // into m_loaded, for a line as loaded
        std::uint32_t length = 0; // its bytes
        std::int32_t edited = -1; // else its index in m_edited
    };

    void ensureStarts(qsizetype upTo) const;
    void forgetStartsAfter(qsizetype line) const;

    std::string m_loaded;
    std::vector<Line> m_lines;
    std::vector<QString> m_edited;
    qsizetype m_longestLoaded = 0;
    // Offsets of the line starts, worked out as far as they were asked for.
    mutable std::vector<std::int64_t> m_starts;
};

} // namespace ui
