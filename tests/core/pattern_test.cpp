#include "core/pattern.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PatternTest : public ::testing::Test {
protected:
    bool hit(std::string_view patternText, std::string_view name) const {
        return core::TailMatcher(*m_fs, core::reducePattern(*m_fs, patternText)).matches(name);
    }

    testsupport::TempDir m_dir;
    std::unique_ptr<platform::Platform> m_fs =
        platform::createPlatformOver({{'c', m_dir.str(), {}}});
};

TEST_F(PatternTest, Reduction) {
    const auto& fs = *m_fs;
    EXPECT_EQ(core::reducePattern(fs, "*.doc"), "DOC");
    EXPECT_EQ(core::reducePattern(fs, "*.*"), "*");
    EXPECT_EQ(core::reducePattern(fs, "  *.Mp3  "), "MP3");
    EXPECT_EQ(core::reducePattern(fs, "*abc"), "*ABC");
    EXPECT_EQ(core::reducePattern(fs, "brief.txt"), "BRIEF.TXT");
    EXPECT_EQ(core::reducePattern(fs, "*.tar.gz"), "TAR.GZ");
    EXPECT_EQ(core::reducePattern(fs, "a*.doc"), "A*.DOC");
    EXPECT_EQ(core::reducePattern(fs, ""), "");
    EXPECT_EQ(core::reducePattern(fs, "   "), "");
    EXPECT_EQ(core::reducePattern(fs, "*.über"), "ÜBER");
}

TEST_F(PatternTest, TailRule) {
    EXPECT_TRUE(hit("*.doc", "Bericht.DOC"));
    EXPECT_TRUE(hit("*.doc", "bericht.doc"));
    EXPECT_TRUE(hit("*.doc", "notizdoc"));
    EXPECT_TRUE(hit("*.doc", "a.adoc"));
    EXPECT_FALSE(hit("*.doc", "a.docx"));
    EXPECT_FALSE(hit("*.doc", "oc"));
    EXPECT_TRUE(hit("*.ppt", "Folien.PPT"));
    EXPECT_FALSE(hit("*.ppt", "Folien.pptx"));
    EXPECT_TRUE(hit("brief.txt", "Altbrief.txt"));
    EXPECT_TRUE(hit("brief.txt", "BRIEF.TXT"));
    EXPECT_FALSE(hit("brief.txt", "brief.txt.bak"));
    // "*ABC" compares the last four characters; a shorter name is compared whole.
    EXPECT_TRUE(hit("*abc", "xyzabc"));
    EXPECT_TRUE(hit("*abc", "abc"));
    EXPECT_FALSE(hit("*abc", "abcd"));
}

TEST_F(PatternTest, EverythingPatterns) {
    for (const char* name : {"a", ".versteckt", "Bericht.docx", "ohne Punkt", "\xff\xfe"}) {
        EXPECT_TRUE(hit("*.*", name)) << name;
        EXPECT_TRUE(hit("", name)) << name;
        EXPECT_TRUE(hit("  ", name)) << name;
    }
}

TEST_F(PatternTest, Wildcards) {
    EXPECT_TRUE(hit("*.d?c", "x.doc"));
    EXPECT_TRUE(hit("*.d?c", "x.d_c"));
    EXPECT_FALSE(hit("*.d?c", "x.dc"));
    EXPECT_TRUE(hit("*.mp#", "Lied.mp3"));
    EXPECT_FALSE(hit("*.mp#", "Film.mpg"));
    EXPECT_TRUE(hit("datei##", "Datei42"));
    EXPECT_FALSE(hit("datei##", "Datei4x"));
    EXPECT_TRUE(hit("*.[a-c]x", "f.bx"));
    EXPECT_TRUE(hit("*.[a-c]x", "F.BX"));
    EXPECT_FALSE(hit("*.[a-c]x", "f.dx"));
    EXPECT_TRUE(hit("*.[!a-c]x", "f.dx"));
    EXPECT_FALSE(hit("*.[!a-c]x", "f.bx"));
    EXPECT_TRUE(hit("*.[xyz0-2]", "a.1"));
    EXPECT_TRUE(hit("*.[xyz0-2]", "a.Y"));
    EXPECT_FALSE(hit("*.[xyz0-2]", "a.3"));
    // Inside a list the special characters stand for themselves.
    EXPECT_TRUE(hit("*.[*?#]", "a.#"));
    EXPECT_FALSE(hit("*.[*?#]", "a.7"));
    // A list takes one place in the tail, whatever it holds.
    EXPECT_TRUE(hit("*.jp[e]g", "bild.jpeg"));
    EXPECT_TRUE(hit("*.jp[e]g", "BILD.JPEG"));
    EXPECT_FALSE(hit("*.jp[e]g", "bild.jpg"));
    EXPECT_TRUE(hit("*.[]doc", "a.doc"));
    EXPECT_TRUE(hit("*a*b*", "xxaYYb"));
    EXPECT_FALSE(hit("*a*b*", "xxbYYa"));
}

TEST_F(PatternTest, InvalidPatternsMatchNothing) {
    for (const char* name : {"a.[ab", "[AB", "x.doc", "a"}) {
        EXPECT_FALSE(hit("*.[ab", name)) << name;
        EXPECT_FALSE(hit("[", name)) << name;
        EXPECT_FALSE(hit("*.[c-a]", name)) << name;
    }
}

TEST_F(PatternTest, NonAsciiNames) {
    EXPECT_TRUE(hit("*.doc", "Übersicht.DOC"));
    EXPECT_TRUE(hit("*.über", "Neu.über"));
    EXPECT_TRUE(hit("*.über", "NEU.ÜBER"));
    EXPECT_FALSE(hit("*.über", "Neu.uber"));
    EXPECT_TRUE(hit("Über", "Alles Über"));
    // The tail is counted in characters, not bytes: "é" is two bytes but one character.
    EXPECT_TRUE(hit("*.f?", "café"));
    EXPECT_TRUE(hit("*.?é", "Café"));
    EXPECT_FALSE(hit("*.??", "é"));
    // Bytes that are not UTF-8 count one character each and are compared as they are.
    EXPECT_TRUE(hit("*.c?", "abc\xff"));
    EXPECT_FALSE(hit("*.c?", "ab\xff"));
}

TEST_F(PatternTest, AdversarialPatternsAnswerAtOnce) {
    const std::string name(250, 'a');
    EXPECT_FALSE(hit(std::string(60, '*') + "X", name));
    EXPECT_TRUE(hit(std::string(60, '*') + "A", name));
    std::string alternating;
    for (int i = 0; i < 30; ++i)
        alternating += "*A";
    EXPECT_FALSE(hit(alternating + "X", name));
    EXPECT_TRUE(hit(alternating + "*", name));
    EXPECT_FALSE(hit(alternating + "X", name + "b"));
}

} // namespace
