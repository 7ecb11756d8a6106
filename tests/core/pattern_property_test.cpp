// The tail matcher against a plain dynamic-programming matcher over code points, on random
// patterns and names (fixed seed) drawn from an alphabet that makes hits likely: wildcards,
// brackets, digits, case pairs, umlauts, a character outside the BMP and stray bytes. Adversarial
// patterns against long names answer in time proportional to name x pattern, milliseconds here:
// exponential backtracking would take years, so a bound of a minute never fails a busy machine.

#include "wildcard_reference.h"

#include "core/pattern.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace {

class PatternProperty : public ::testing::Test {
protected:
    std::unique_ptr<platform::Platform> fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
};

std::string randomText(std::mt19937& rng, const std::vector<std::string>& alphabet,
                       std::size_t maxLength) {
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text;
    for (std::size_t n = length(rng); n > 0; --n)
        text += alphabet[pick(rng)];
    return text;
}

TEST_F(PatternProperty, AgreesWithTheReferenceOnRandomInput) {
    const std::vector<std::string> names = {"a",
                                            "A",
                                            "b",
                                            "B",
                                            "z",
                                            ".",
                                            "0",
                                            "7",
                                            "-",
                                            "!",
                                            "\xc3\xa4",
                                            "\xc3\x84",
                                            "\xc3\x9f",
                                            "\xe2\x82\xac",
                                            "\xf0\x9f\x98\x80",
                                            "\xff",
                                            "\xc3",
                                            " ",
                                            "[",
                                            "]"};
    std::vector<std::string> patterns = names;
    for (const char* special : {"?", "*", "#", "[", "]", "!", "-", "[A-C]", "[!0-9]", "[]"})
        patterns.emplace_back(special);

    std::mt19937 rng(20240517);
    std::size_t hits = 0;
    for (int round = 0; round < 10000; ++round) {
        const std::string pattern = fs->toUpper(randomText(rng, patterns, 8));
        const core::TailMatcher matcher(*fs, pattern);
        for (int k = 0; k < 4; ++k) {
            const std::string name = randomText(rng, names, 12);
            const bool expected = wildcardref::tailMatches(*fs, pattern, name);
            ASSERT_EQ(matcher.matches(name), expected)
                << "pattern \"" << pattern << "\" name \"" << name << "\"";
            hits += expected;
        }
    }
    // The alphabet was chosen so that both answers are common.
    EXPECT_GT(hits, 2000u);
    EXPECT_LT(hits, 36000u);
}

TEST_F(PatternProperty, AdversarialPatternsAnswerInBoundedTime) {
    const std::string longName = std::string(4000, 'a') + "\xc3\xa4";
    std::vector<std::string> patterns;
    std::string stars, classes, mixed;
    for (int i = 0; i < 200; ++i) {
        stars += "*A";
        classes += "*[A-Z]";
        mixed += "?*#*[!B]";
    }
    patterns = {stars + "B",
                stars + "*",
                classes + "Q",
                mixed,
                std::string(500, '*') + "X",
                std::string(300, '[') + "]",
                "[" + std::string(1000, 'A') + "-"};
    std::chrono::steady_clock::duration spent{};
    for (const auto& pattern : patterns) {
        const core::TailMatcher matcher(*fs, pattern);
        for (int i = 0; i < 5; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const bool matched = matcher.matches(longName);
            spent += std::chrono::steady_clock::now() - start;
            EXPECT_EQ(matched, wildcardref::tailMatches(*fs, pattern, longName))
                << pattern.substr(0, 20);
        }
    }
    EXPECT_LT(spent, std::chrono::minutes(1));
}

} // namespace
