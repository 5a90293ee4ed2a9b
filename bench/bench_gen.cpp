// SPDX-License-Identifier: GPL-2.0-or-later
//
// kpx-bench-gen N SEED OUT
//
// Writes a reproducible word list of N data lines for timing the table compiler: romanised
// Taiwanese keys of one to four syllables (hyphenated, about half of them with tone digits),
// a few letter abbreviations, about 2% keys that repeat an earlier key with another output,
// and about 3% extra comment lines. Outputs are 1 to 6 Big5 characters. Lines end in CR LF,
// key and output are separated by a tab or by one to three spaces.
//
// The same N and SEED give the same bytes with every standard library: only the raw
// std::mt19937 stream is used (its sequence is fixed by the standard), and every draw from
// it goes through the small helpers below instead of the library's distributions, whose
// algorithms are left to each implementation.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxKeyBytes = 32;
constexpr std::size_t kMaxOutputBytes = 64;

// Big5 frequently-used hanzi: lead bytes 0xA4 to 0xC5 are fully assigned with either trail
// range (0xC6 is only half assigned, so it is left out).
constexpr unsigned kLeadFirst = 0xA4;
constexpr unsigned kLeadLast = 0xC5;
constexpr unsigned kTrailsPerLead = (0x7E - 0x40 + 1) + (0xFE - 0xA1 + 1); // 63 + 94

struct Weighted {
    std::string_view text;
    std::uint32_t weight;
};

// Rough frequencies of the initials and finals in everyday Taiwanese words.
constexpr Weighted kInitials[] = {
    { "", 8 },
    { "p", 5 },
    { "ph", 3 },
    { "b", 4 },
    { "m", 4 },
    { "t", 6 },
    { "th", 4 },
    { "n", 3 },
    { "l", 6 },
    { "k", 7 },
    { "kh", 5 },
    { "g", 3 },
    { "ng", 2 },
    { "h", 6 },
    { "ch", 6 },
    { "chh", 4 },
    { "j", 2 },
    { "s", 7 },
    { "ts", 3 },
};

constexpr Weighted kFinals[] = {
    { "a", 8 },
    { "i", 8 },
    { "u", 6 },
    { "e", 5 },
    { "o", 5 },
    { "oo", 5 },
    { "ai", 4 },
    { "au", 4 },
    { "ia", 3 },
    { "iu", 3 },
    { "ua", 4 },
    { "ue", 3 },
    { "ui", 3 },
    { "io", 2 },
    { "iau", 2 },
    { "uai", 1 },
    { "am", 2 },
    { "im", 2 },
    { "om", 1 },
    { "iam", 2 },
    { "an", 4 },
    { "in", 4 },
    { "un", 4 },
    { "ian", 3 },
    { "uan", 3 },
    { "ang", 4 },
    { "ing", 5 },
    { "ong", 4 },
    { "iang", 1 },
    { "iong", 2 },
    { "ak", 2 },
    { "ik", 3 },
    { "ok", 2 },
    { "iak", 1 },
    { "iok", 2 },
    { "ap", 1 },
    { "ip", 1 },
    { "op", 1 },
    { "iap", 1 },
    { "at", 2 },
    { "it", 2 },
    { "ut", 2 },
    { "iat", 1 },
    { "uat", 1 },
    { "ah", 2 },
    { "ih", 1 },
    { "uh", 1 },
    { "eh", 1 },
    { "oh", 2 },
    { "iah", 1 },
    { "uah", 1 },
    { "ann", 2 },
    { "inn", 2 },
    { "enn", 1 },
    { "onn", 1 },
    { "iann", 1 },
    { "uann", 1 },
    { "ainn", 1 },
    { "m", 1 },
    { "ng", 2 },
};

// Tones of open syllables, and of checked ones (ending in p, t, k or h).
constexpr Weighted kOpenTones[] = {
    { "1", 25 },
    { "2", 20 },
    { "3", 15 },
    { "5", 20 },
    { "7", 15 },
    { "6", 2 },
    { "9", 3 },
};
constexpr Weighted kCheckedTones[] = { { "4", 60 }, { "8", 40 } };

constexpr Weighted kSyllableCounts[] = { { "1", 20 }, { "2", 45 }, { "3", 22 }, { "4", 13 } };
constexpr Weighted kOutputChars[] = { { "1", 12 }, { "2", 40 }, { "3", 22 }, { "4", 16 }, { "5", 6 }, { "6", 4 } };

constexpr std::string_view kCommentWords[] = {
    "words",
    "from",
    "the",
    "old",
    "list",
    "check",
    "later",
    "place",
    "names",
    "family",
    "food",
    "todo",
    "kept",
    "for",
    "school",
    "section",
    "see",
    "also",
    "new",
    "spelling",
};

// Draws from the raw engine only.
class Dice {
public:
    explicit Dice(std::uint32_t seed)
        : engine_(seed)
    {
    }

    // Uniform in [0, n): rejects the low remainder so that every value is equally likely.
    std::uint32_t below(std::uint32_t n)
    {
        const std::uint32_t threshold = (0u - n) % n; // 2^32 mod n
        for (;;) {
            const auto x = static_cast<std::uint32_t>(engine_());
            if (x >= threshold) {
                return x % n;
            }
        }
    }

    // True with probability num / den.
    bool chance(std::uint32_t num, std::uint32_t den) { return below(den) < num; }

    template <std::size_t N> std::string_view pick(const Weighted (&table)[N])
    {
        std::uint32_t total = 0;
        for (const auto &w : table) {
            total += w.weight;
        }
        std::uint32_t r = below(total);
        for (const auto &w : table) {
            if (r < w.weight) {
                return w.text;
            }
            r -= w.weight;
        }
        return table[N - 1].text;
    }

private:
    std::mt19937 engine_;
};

bool isChecked(std::string_view final)
{
    const char last = final.back();
    return last == 'p' || last == 't' || last == 'k' || last == 'h';
}

std::string makeSyllable(Dice &dice, bool toned)
{
    const std::string_view final = dice.pick(kFinals);
    std::string syllable(dice.pick(kInitials));
    syllable += final;
    // A toned key still leaves some syllables bare, as people type them.
    if (toned && dice.chance(85, 100)) {
        syllable += isChecked(final) ? dice.pick(kCheckedTones) : dice.pick(kOpenTones);
    }
    return syllable;
}

std::string makeKey(Dice &dice)
{
    const unsigned syllableCount = static_cast<unsigned>(dice.pick(kSyllableCounts)[0] - '0');

    // Abbreviations: the first letters of a few syllables, like "tw" or "ktd".
    if (dice.chance(3, 100)) {
        std::string key;
        const unsigned letters = 2 + dice.below(3);
        for (unsigned i = 0; i < letters; ++i) {
            key += makeSyllable(dice, false)[0];
        }
        return key;
    }

    const bool toned = dice.chance(1, 2);
    // Most keys are hyphenated; some users write the syllables solid ("kokchiong").
    const bool solid = dice.chance(1, 10);
    std::vector<std::string> syllables;
    for (unsigned i = 0; i < syllableCount; ++i) {
        syllables.push_back(makeSyllable(dice, toned));
    }
    for (;;) {
        std::string key;
        for (std::size_t i = 0; i < syllables.size(); ++i) {
            if (i != 0 && !solid) {
                key += '-';
            }
            key += syllables[i];
        }
        if (key.size() <= kMaxKeyBytes || syllables.size() == 1) {
            return key;
        }
        syllables.pop_back();
    }
}

void appendBig5Char(Dice &dice, std::string &out)
{
    const std::uint32_t code = dice.below((kLeadLast - kLeadFirst + 1) * kTrailsPerLead);
    const unsigned lead = kLeadFirst + code / kTrailsPerLead;
    unsigned trail = code % kTrailsPerLead;
    trail = trail < 63 ? 0x40 + trail : 0xA1 + (trail - 63);
    out += static_cast<char>(lead);
    out += static_cast<char>(trail);
}

std::string makeOutput(Dice &dice)
{
    const unsigned chars = static_cast<unsigned>(dice.pick(kOutputChars)[0] - '0');
    std::string out;
    for (unsigned i = 0; i < chars && out.size() + 2 <= kMaxOutputBytes; ++i) {
        appendBig5Char(dice, out);
    }
    return out;
}

void appendSeparator(Dice &dice, std::string &line)
{
    if (dice.chance(1, 2)) {
        line += '\t';
    } else {
        line.append(1 + dice.below(3), ' ');
    }
}

std::string makeCommentLine(Dice &dice)
{
    std::string line;
    if (dice.chance(1, 2)) {
        // A whole-line remark: "// family names", or a few hanzi after the slashes.
        line = "//";
        if (dice.chance(1, 2)) {
            const unsigned words = 1 + dice.below(4);
            for (unsigned i = 0; i < words; ++i) {
                line += ' ';
                line += kCommentWords[dice.below(static_cast<std::uint32_t>(std::size(kCommentWords)))];
            }
        } else {
            line += ' ';
            line += makeOutput(dice);
        }
    } else {
        // A data-looking line switched off by a "//" in front of its output.
        line = makeKey(dice);
        appendSeparator(dice, line);
        line += "//";
        line += makeOutput(dice);
    }
    return line;
}

bool parseCount(const char *text, unsigned long long max, unsigned long long &value)
{
    char *end = nullptr;
    value = std::strtoull(text, &end, 10);
    return *text != '\0' && *text != '-' && *end == '\0' && value <= max;
}

int usage()
{
    std::fputs("usage: kpx-bench-gen N SEED OUT\n"
               "  writes N data lines (plus about 3% comment lines) generated from SEED to OUT\n",
        stderr);
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        return usage();
    }
    unsigned long long count = 0;
    unsigned long long seed = 0;
    if (!parseCount(argv[1], 100'000'000ULL, count) || !parseCount(argv[2], 0xFFFFFFFFULL, seed)) {
        return usage();
    }
    const char *outPath = argv[3];

    Dice dice(static_cast<std::uint32_t>(seed));
    std::vector<std::string> keys;
    std::vector<std::string> outputs;
    keys.reserve(count);
    outputs.reserve(count);

    std::string text;
    unsigned long long lines = 0;
    while (keys.size() < count) {
        std::string line;
        if (dice.chance(3, 100)) {
            line = makeCommentLine(dice);
        } else {
            std::string key;
            std::string output = makeOutput(dice);
            if (!keys.empty() && dice.chance(2, 100)) {
                const std::size_t earlier = dice.below(static_cast<std::uint32_t>(keys.size()));
                key = keys[earlier];
                while (output == outputs[earlier]) {
                    output = makeOutput(dice);
                }
            } else {
                key = makeKey(dice);
            }
            line = key;
            appendSeparator(dice, line);
            line += output;
            keys.push_back(std::move(key));
            outputs.push_back(std::move(output));
        }
        text += line;
        text += "\r\n";
        ++lines;
    }

    std::FILE *file = std::fopen(outPath, "wb");
    if (!file) {
        std::fprintf(stderr, "kpx-bench-gen: cannot create %s\n", outPath);
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "kpx-bench-gen: cannot write %s\n", outPath);
        return 1;
    }
    std::printf("%llu entries, %llu lines, %zu bytes: %s\n", count, lines, text.size(), outPath);
    return 0;
}
