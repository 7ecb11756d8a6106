#include "core/cp1252.h"
#include "core/log_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using core::cp1252ToUtf8;
using core::utf8ToCp1252;

TEST(Cp1252, EncodesLatin1AndTheWindowsSpecials) {
    EXPECT_EQ(utf8ToCp1252("C:\\Daten\\Brief.doc"), "C:\\Daten\\Brief.doc");
    EXPECT_EQ(utf8ToCp1252("äöüßÄÖÜ é ÿ"), "\xE4\xF6\xFC\xDF\xC4\xD6\xDC \xE9 \xFF");
    EXPECT_EQ(utf8ToCp1252("\u00A0\u00FF"), "\xA0\xFF");
    EXPECT_EQ(utf8ToCp1252("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"),
              "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97"
              "\x98\x99\x9A\x9B\x9C\x9E\x9F");
}

TEST(Cp1252, WritesQuestionMarksForWhatCannotStandOnALogLine) {
    // Outside the code page, one "?" per character whatever its UTF-8 length.
    EXPECT_EQ(utf8ToCp1252("a\u0394b\u4E2Dc\U0001F600d"), "a?b?c?d");
    // Control characters, so that CR and LF can never end a line early.
    EXPECT_EQ(utf8ToCp1252(std::string("a\rb\nc\td\x7F"
                                       "e\0f",
                                       11)),
              "a?b?c?d?e?f");
    // C1 code points are not the code page's 0x80-0x9F characters.
    EXPECT_EQ(utf8ToCp1252("\u0080\u0081\u009F"), "???");
    // The backend's stand-ins for characters a path cannot carry.
    EXPECT_EQ(utf8ToCp1252("x\uF05Cy\uF03Az\uF0FF"), "x?y?z?");
    // Invalid UTF-8: stray continuation, truncated sequence, overlong form, surrogate.
    EXPECT_EQ(utf8ToCp1252("a\x80"
                           "b"),
              "a?b");
    EXPECT_EQ(utf8ToCp1252("a\xE2\x82"), "a??");
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(utf8ToCp1252("\xF4\x90\x80\x80"), "????");
}

TEST(Cp1252, DecodesEveryDefinedByteBackToItsCharacter) {
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue;
        std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(byte)), byte) << "byte " << b;
    }
    EXPECT_EQ(cp1252ToUtf8("\x80\xE4"), "€ä");
    EXPECT_EQ(cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(cp1252ToUtf8(std::string("\t\0", 2)), std::string("\t\0", 2));
}

// What the log viewer shows: one line per log line, each followed by a line break.
TEST(LogViewerText, EndsLinesAtCrOrCrLfAndDecodesTheCodePage) {
    EXPECT_EQ(core::logViewerText(""), "");
    EXPECT_EQ(core::logViewerText("eins\r\nzwei\r\ndrei\r\n"), "eins\nzwei\ndrei\n");
    // The last line gets its line end even when the file has none.
    EXPECT_EQ(core::logViewerText("eins\r\nzwei\r\ndrei"), "eins\nzwei\ndrei\n");
    // A lone CR ends a line; a lone LF stays inside it, shown as its picture.
    EXPECT_EQ(core::logViewerText("a\rb\nc\r\n"), "a\nb\u240Ac\n");
    EXPECT_EQ(core::logViewerText("a\r\n\nb"), "a\n\u240Ab\n");
    EXPECT_EQ(core::logViewerText("\r\r\n"), "\n\n");
    EXPECT_EQ(core::logViewerText("\n"), "\u240A\n");
    EXPECT_EQ(core::logViewerText("\x80\x8A\x8C\x8E\x9A\x9C\x9E\x9F\x81\r\n"), "€ŠŒŽšœžŸ\uFFFD\n");
}

TEST(LogViewerText, BuildsALargeLogInOnePass) {
    std::string line = "01.02.2024 10:11:12;\"c:\\daten\\Br\xE4ufe.doc\";3/17 -> move\r\n";
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += line;
    std::string text = core::logViewerText(bytes);
    EXPECT_EQ(text.size(), bytes.size()); // ä takes two bytes in UTF-8, the line end one
    EXPECT_TRUE(text.ends_with("Bräufe.doc\";3/17 -> move\n"));
}

} // namespace
