// Checks the LMBCS codec against ICU's "LMBCS-1" converter.
#include "notessim/Lmbcs.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace notessim::lmbcs {
namespace {

std::string Hex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    return out;
}

class Icu {
public:
    Icu() {
        UErrorCode err = U_ZERO_ERROR;
        conv_ = ucnv_open("LMBCS-1", &err);
        if (U_FAILURE(err)) throw std::runtime_error("ICU has no LMBCS-1 converter");
    }
    ~Icu() { ucnv_close(conv_); }
    Icu(const Icu&) = delete;
    Icu& operator=(const Icu&) = delete;

    std::string Encode(std::u16string_view text) {
        std::string out(text.size() * 6 + 8, '\0');
        UErrorCode err = U_ZERO_ERROR;
        ucnv_resetFromUnicode(conv_);
        const int n = ucnv_fromUChars(conv_, out.data(), static_cast<int>(out.size()),
                                      text.data(), static_cast<int>(text.size()), &err);
        EXPECT_TRUE(U_SUCCESS(err)) << u_errorName(err);
        out.resize(n);
        return out;
    }
    std::u16string Decode(std::string_view bytes) {
        std::u16string out(bytes.size() * 2 + 8, u'\0');
        UErrorCode err = U_ZERO_ERROR;
        ucnv_resetToUnicode(conv_);
        const int n = ucnv_toUChars(conv_, out.data(), static_cast<int>(out.size()),
                                    bytes.data(), static_cast<int>(bytes.size()), &err);
        EXPECT_TRUE(U_SUCCESS(err)) << u_errorName(err);
        out.resize(n);
        return out;
    }

private:
    UConverter* conv_ = nullptr;
};

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsCjkGroup(unsigned char b) { return b >= 0x10 && b <= 0x13; }

std::string EncodeOne(char32_t c) {
    std::string out;
    AppendEncoded(c, out);
    return out;
}

// Every BMP character ICU writes without a group, or in the control group, comes out the same;
// everything else we write in the Unicode group, and ICU must read that back.
TEST(Lmbcs, EncodingMatchesIcuForAsciiCp850AndControlsAndIcuReadsTheRest) {
    Icu icu;
    int sameAsIcu = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (IsSurrogate(c)) continue;
        const std::u16string text(1, static_cast<char16_t>(c));
        const std::string ours = EncodeOne(c);
        const std::string theirs = icu.Encode(text);
        if (theirs.size() == 1 || theirs[0] == 0x0F) {
            ++sameAsIcu;
            EXPECT_EQ(ours, theirs) << "U+" << std::hex << unsigned(c);
        } else if ((c < 0xF601 || c > 0xF6FF) && c < 0xFFFE) {
            // U+F601-F6FF have no Unicode-group form ICU reads; ICU reads U+FFFE/FFFF as U+FFFD
            // even from its own output.
            EXPECT_EQ(ours[0], 0x14) << "U+" << std::hex << unsigned(c);
            EXPECT_EQ(icu.Decode(ours), text) << "U+" << std::hex << unsigned(c) << ": " << Hex(ours);
        }
    }
    EXPECT_EQ(sameAsIcu, 256 + 32);  // all of U+0000-00FF and the rest of cp850
}

// ICU prefers the group of the previous character, even for cp850 characters, so byte
// identity holds for text that never leaves cp850 (plus the Unicode group, which is not sticky).
TEST(Lmbcs, EncodingCp850TextMatchesIcu) {
    Icu icu;
    std::u16string text = u"Grüße, Ærø! \t\r\n\x01\x1B\x7F\x85 ½ ╬▓ ı ƒ ‗ ☃ ₩ 𝄞";
    for (char16_t c = 0x20; c <= 0xFF; c += 7) text += c;
    EXPECT_EQ(Hex(Encode(text)), Hex(icu.Encode(text)));
}

TEST(Lmbcs, DecodingMixedScriptsAsIcuWritesThem) {
    Icu icu;
    // Adjacent scripts make ICU keep a group for the next character (é after Greek is 02 82).
    const std::u16string text =
        u"Café Ελληνικά é Ωμέγα; Русский язык §; עברית ₪; العربية ،؛؟; Türkçe ĞğİıŞş; ไทย ๑; "
        u"Ăă§ Ąą Łł Őő; ‰ ™ • † € ≤ ♫ ☃; ĦħĲĳ; \a\b\f\x1B\x7F\u0085 end; 😀 𝄞 𐍈 \U0010FFFF";
    const std::string bytes = icu.Encode(text);
    for (unsigned char group : {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x08, 0x0B, 0x0F, 0x14})
        EXPECT_NE(bytes.find(static_cast<char>(group)), std::string::npos) << "group " << int(group);
    EXPECT_EQ(Decode(bytes), text) << Hex(bytes);
}

TEST(Lmbcs, DecodingEveryBmpCharacterIcuWritesOutsideTheCjkGroups) {
    Icu icu;
    int decoded = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (IsSurrogate(c)) continue;
        const std::u16string text(1, static_cast<char16_t>(c));
        const std::string bytes = icu.Encode(text);
        if (IsCjkGroup(bytes[0])) continue;
        ++decoded;
        EXPECT_EQ(Decode(bytes), text) << "U+" << std::hex << unsigned(c) << ": " << Hex(bytes);
    }
    EXPECT_GT(decoded, 20000);
}

// Covers every group's tables, bytes that are no group, and groups cut short.
TEST(Lmbcs, DecodingEveryTwoByteInputAsIcu) {
    Icu icu;
    for (unsigned first = 0; first < 0x100; ++first) {
        for (unsigned second = 0; second < 0x100; ++second) {
            if (first == 0x0F && second < 0x20) continue;  // ICU yields U+FFE0.. there, we U+FFFD
            const std::string bytes{static_cast<char>(first), static_cast<char>(second)};
            ASSERT_EQ(Decode(bytes), icu.Decode(bytes)) << Hex(bytes);
        }
    }
    EXPECT_EQ(Decode("\x0F\x05"), u"\uFFFD");
}

TEST(Lmbcs, RoundTripOfEveryScalarValue) {
    std::u16string text;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (IsSurrogate(c)) continue;
        if (c <= 0xFFFF) {
            text += static_cast<char16_t>(c);
        } else {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    const std::u16string back = Decode(Encode(text));
    ASSERT_EQ(back.size(), text.size());
    const auto [ours, want] = std::mismatch(back.begin(), back.end(), text.begin());
    EXPECT_TRUE(ours == back.end()) << "first difference at U+" << std::hex << unsigned(*want);

    for (char32_t c : {U'\u4E2D', U'\uF6F6', U'\uF600', U'\u4100', U'\U0001F600'}) {
        std::size_t pos = 0;
        const std::string bytes = EncodeOne(c);
        EXPECT_EQ(DecodeNext(bytes, pos), c);
        EXPECT_EQ(pos, bytes.size());
    }
}

TEST(Lmbcs, RoundTripOfUnpairedSurrogatesBecomeReplacement) {
    const std::u16string lone = u"a\xD800" u"b\xDC00\xD83D";
    EXPECT_EQ(Decode(Encode(lone)), u"a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(Encode(u"\xDE00\xD83D"), Encode(u"\uFFFD\uFFFD"));
    EXPECT_EQ(EncodeOne(0xDFFF), EncodeOne(0xFFFD));
    EXPECT_EQ(EncodeOne(0x110000), EncodeOne(0xFFFD));

    // The same in the bytes: halves that do not pair up in the Unicode group.
    EXPECT_EQ(Decode(std::string("\x14\xD8\x3D" "A", 4)), u"\uFFFDA");
    EXPECT_EQ(Decode(std::string("\x14\xF6\xDE" "A", 4)), u"\uFFFDA");
    EXPECT_EQ(Decode(std::string("\x14\xD8\x3D\x14\xD8\x3D\x14\xF6\xDE", 9)), u"\uFFFD😀");
}

// Each input sits in a heap block of its exact size, so that the sanitizer sees any overread.
TEST(Lmbcs, DecodingTruncatedSequencesStopAtTheEnd) {
    const std::vector<std::string> complete = {
        "\x01\x61", "\x02\xE1", "\x06\x2E", "\x0B\xA1", "\x0F\x21",
        "\x10\x81\xA9", "\x14\x26\x03", "\x14\xF6\xDE", std::string("\x14\xF6\x00\x41", 4),
    };
    for (const std::string& sequence : complete) {
        for (std::size_t length = 1; length < sequence.size(); ++length) {
            auto block = std::make_unique<char[]>(length);
            std::copy_n(sequence.data(), length, block.get());
            const std::string_view bytes(block.get(), length);
            std::size_t pos = 0;
            EXPECT_EQ(DecodeNext(bytes, pos), U'\uFFFD') << Hex(bytes);
            EXPECT_EQ(pos, length) << Hex(bytes);
        }
    }
    // A complete high half followed by a cut-off low half: two replacements, nothing more.
    const std::string pairCut("\x14\xD8\x3D\x14\xF6", 5);
    auto block = std::make_unique<char[]>(pairCut.size());
    std::copy_n(pairCut.data(), pairCut.size(), block.get());
    EXPECT_EQ(Decode({block.get(), pairCut.size()}), u"\uFFFD\uFFFD");
}

}  // namespace
}  // namespace notessim::lmbcs
