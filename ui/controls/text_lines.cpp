#include "ui/controls/text_lines.h"

#include <QStringList>

#include <algorithm>
#include <cstring>
#include <utility>

namespace ui {

TextLines::TextLines() : m_lines(1), m_starts{0} {}

void TextLines::setText(const QString& text) {
    m_lines.assign(1, Line{});
    appendUtf8(text.toStdString());
}

void TextLines::appendUtf8(std::string text) {
    if (!isEmpty()) {
        replace(end(), end(), QString::fromStdString(text));
        return;
    }
    m_loaded = std::move(text);
    m_edited.clear();
    m_lines.clear();
    m_starts.assign(1, 0);
    m_longestLoaded = 0;
    std::uint32_t longest = 0;
    const char* const data = m_loaded.data();
    std::size_t begin = 0;
    for (;;) {
        const void* found = std::memchr(data + begin, '\n', m_loaded.size() - begin);
        const std::size_t stop =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - data)
                  : m_loaded.size();
        const auto length = static_cast<std::uint32_t>(stop - begin);
        if (length > longest) {
            longest = length;
            m_longestLoaded = static_cast<qsizetype>(m_lines.size());
        }
        m_lines.push_back({begin, length, -1});
        if (!found)
            break;
        begin = stop + 1;
    }
}

QString TextLines::line(qsizetype index) const {
    const Line& l = m_lines[static_cast<std::size_t>(index)];
    if (l.edited >= 0)
        return m_edited[static_cast<std::size_t>(l.edited)];
    return QString::fromUtf8(m_loaded.data() + l.begin, static_cast<qsizetype>(l.length));
}

qsizetype TextLines::lineLength(qsizetype index) const {
    const Line& l = m_lines[static_cast<std::size_t>(index)];
    if (l.edited >= 0)
        return m_edited[static_cast<std::size_t>(l.edited)].size();
    // Log lines are mostly ASCII, where bytes and UTF-16 units agree; the rest is decoded, so
    // that the count is exactly that of the line's string.
    const char* const bytes = m_loaded.data() + l.begin;
    if (std::all_of(bytes, bytes + l.length, [](char c) { return (c & 0x80) == 0; }))
        return static_cast<qsizetype>(l.length);
    return line(index).size();
}

TextPosition TextLines::end() const {
    return {lineCount() - 1, lineLength(lineCount() - 1)};
}

QString TextLines::text(TextPosition from, TextPosition to) const {
    from = clamped(from);
    to = clamped(to);
    if (to < from)
        std::swap(from, to);
    if (from.line == to.line)
        return line(from.line).mid(from.column, to.column - from.column);
    QString out = line(from.line).mid(from.column);
    for (qsizetype i = from.line + 1; i < to.line; ++i) {
        out += QLatin1Char('\n');
        out += line(i);
    }
    out += QLatin1Char('\n');
    out += line(to.line).left(to.column);
    return out;
}

QString TextLines::toPlainText() const {
    QString out;
    out.reserve(static_cast<qsizetype>(characterCount()));
    for (qsizetype i = 0; i < lineCount(); ++i) {
        if (i > 0)
            out += QLatin1Char('\n');
        out += line(i);
    }
    return out;
}

TextPosition TextLines::replace(TextPosition from, TextPosition to, const QString& text) {
    from = clamped(from);
    to = clamped(to);
    if (to < from)
        std::swap(from, to);
    QStringList pieces = text.split(QLatin1Char('\n'));
    pieces.front().prepend(line(from.line).left(from.column));
    const TextPosition after{from.line + pieces.size() - 1, pieces.back().size()};
    pieces.back().append(line(to.line).mid(to.column));

    // Slots of the lines replaced are used again; those left over are emptied.
    std::vector<std::int32_t> freeSlots;
    for (qsizetype i = from.line; i <= to.line; ++i) {
        if (const std::int32_t slot = m_lines[static_cast<std::size_t>(i)].edited; slot >= 0)
            freeSlots.push_back(slot);
    }
    std::vector<Line> added;
    added.reserve(static_cast<std::size_t>(pieces.size()));
    for (QString& piece : pieces) {
        std::int32_t slot = 0;
        if (!freeSlots.empty()) {
            slot = freeSlots.back();
            freeSlots.pop_back();
            m_edited[static_cast<std::size_t>(slot)] = std::move(piece);
        } else {
            slot = static_cast<std::int32_t>(m_edited.size());
            m_edited.push_back(std::move(piece));
        }
        added.push_back({0, 0, slot});
    }
    for (const std::int32_t slot : freeSlots)
        m_edited[static_cast<std::size_t>(slot)] = QString();

    const auto first = m_lines.begin() + from.line;
    const auto replaced = static_cast<std::size_t>(to.line - from.line + 1);
    if (replaced == added.size()) {
        std::copy(added.begin(), added.end(), first);
    } else {
        m_lines.erase(first, first + static_cast<std::ptrdiff_t>(replaced));
        m_lines.insert(m_lines.begin() + from.line, added.begin(), added.end());
    }
    forgetStartsAfter(from.line);
    return after;
}

void TextLines::ensureStarts(qsizetype upTo) const {
    upTo = std::min(upTo, lineCount() - 1);
    while (static_cast<qsizetype>(m_starts.size()) <= upTo) {
        const auto previous = static_cast<qsizetype>(m_starts.size()) - 1;
        m_starts.push_back(m_starts.back() + lineLength(previous) + 1);
    }
}

void TextLines::forgetStartsAfter(qsizetype line) const {
    if (static_cast<qsizetype>(m_starts.size()) > line + 1)
        m_starts.resize(static_cast<std::size_t>(line + 1));
}

std::int64_t TextLines::characterCount() const {
    ensureStarts(lineCount() - 1);
    return m_starts.back() + lineLength(lineCount() - 1);
}

std::int64_t TextLines::offset(TextPosition position) const {
    position = clamped(position);
    ensureStarts(position.line);
    return m_starts[static_cast<std::size_t>(position.line)] + position.column;
}

TextPosition TextLines::position(std::int64_t offset) const {
    offset = std::max<std::int64_t>(offset, 0);
    while (static_cast<qsizetype>(m_starts.size()) < lineCount() && m_starts.back() <= offset)
        ensureStarts(static_cast<qsizetype>(m_starts.size()));
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    const auto line = static_cast<qsizetype>(after - m_starts.begin()) - 1;
    return clamped(
        {line, static_cast<qsizetype>(offset - m_starts[static_cast<std::size_t>(line)])});
}

TextPosition TextLines::clamped(TextPosition position) const {
    position.line = std::clamp<qsizetype>(position.line, 0, lineCount() - 1);
    const QString text = line(position.line);
    position.column = std::clamp<qsizetype>(position.column, 0, text.size());
    if (position.column > 0 && position.column < text.size() &&
        text[position.column - 1].isHighSurrogate() && text[position.column].isLowSurrogate())
        --position.column;
    return position;
}

} // namespace ui
