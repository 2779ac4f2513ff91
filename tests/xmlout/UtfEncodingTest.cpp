// The shared UTF-8 / UTF-16LE encoders against python3's codecs, on random text with
// characters from every range (ASCII runs long enough for the block-wise paths, two-, three-
// and four-byte UTF-8, characters above U+FFFF) and on ill-formed input judged by python's
// strict decoders.
#include <qxxml/xmlout/UtfEncoding.h>

#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

// Wide text from space-separated hex values (code points, or UTF-16 units).
std::wstring WideFromHexList(const std::string& list) {
    std::wstring text;
    for (const std::string& item : Words(list))
        AppendCodePoint(text, static_cast<char32_t>(std::stoul(item, nullptr, 16)));
    return text;
}

// The caller-managed forms: the count, and the one-pass store into 4 bytes a character
// (plus a guard that must stay untouched); "<ill-formed>" when either refuses the text.
std::string Utf8IntoBuffer(const std::wstring& text) {
    const size_t count = Utf8ByteCount(text.data(), text.size());
    std::vector<char> buffer(4 * text.size() + 1, '#');
    const char* end = EncodeUtf8Into(buffer.data(), text.data(), text.size());
    EXPECT_EQ(end == nullptr, count == static_cast<size_t>(-1));
    if (end == nullptr) return "<ill-formed>";
    EXPECT_EQ('#', buffer.back());
    EXPECT_EQ(count, static_cast<size_t>(end - buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(end - buffer.data()));
}

}  // namespace

// Random strings, half of them mostly ASCII, the rest from all ranges (no U+0000, so that the
// terminated-string functions see them whole), both ways through every form: as code points,
// as UTF-16 units (pairs split, where wchar_t has 32 bits), and stored as raw UTF-16LE units.
TEST(UtfEncodingTest, EncodesAndDecodesLikePythonCodecs) {
    static const char* const program = R"PY(
import random, sys
r = random.Random(int(sys.argv[1]))
pools = [(0x01, 0x7F), (0x80, 0x7FF), (0x800, 0xD7FF), (0xE000, 0xFFFF), (0x10000, 0x10FFFF)]
for n in range(300):
    length = r.choice([1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 32, 33, 100, 1000])
    mostly_ascii = n % 2 == 0
    cps = []
    for i in range(length):
        if mostly_ascii and r.random() < 0.95:
            cps.append(r.randint(0x20, 0x7E))
        else:
            lo, hi = r.choice(pools)
            cps.append(r.randint(lo, hi))
    s = ''.join(map(chr, cps))
    u16 = s.encode('utf-16-le')
    units = [u16[i] | (u16[i + 1] << 8) for i in range(0, len(u16), 2)]
    print(' '.join('%x' % c for c in cps), ' '.join('%x' % u for u in units),
          s.encode('utf-8').hex(), u16.hex(), sep='\t')
)PY";
    size_t pairs = 0, samples = 0;
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 4u);
        const struct {
            std::wstring codePoints;  // one wchar_t per code point (a surrogate pair above U+FFFF on Windows)
            std::wstring utf16Units;  // one wchar_t per UTF-16 unit (surrogate pairs split)
            std::string utf8, utf16le;
        } s = {WideFromHexList(f[0]), WideFromHexList(f[1]), Unhex(f[2]), Unhex(f[3])};
        ++samples;
        // Four-byte UTF-8 sequences (counted in the bytes: a 16-bit wide string has no other trace).
        pairs += static_cast<size_t>(std::count_if(s.utf8.begin(), s.utf8.end(),
                                                   [](char c) { return (static_cast<unsigned char>(c) & 0xF8) == 0xF0; }));
        for (const std::wstring* text : {&s.codePoints, &s.utf16Units}) {
            std::string utf8, utf16;
            ASSERT_TRUE(AppendUtf8(utf8, text->data(), text->size()) && AppendUtf16LE(utf16, text->data(), text->size()));
            EXPECT_EQ(utf8, s.utf8);
            EXPECT_EQ(Utf8IntoBuffer(*text), s.utf8);
            EXPECT_EQ(utf16, s.utf16le);
        }
        EXPECT_EQ(Bytes(Utf16ToUtf8(s.codePoints.c_str())), s.utf8);
        std::string raw(Utf16LEUnitBytes(s.codePoints.data(), s.codePoints.size()), '\0');
        EXPECT_EQ(StoreUtf16LEUnits(reinterpret_cast<unsigned char*>(&raw[0]), s.codePoints.data(), s.codePoints.size()),
                  reinterpret_cast<unsigned char*>(&raw[0]) + raw.size());
        EXPECT_EQ(raw, s.utf16le);

        // On Windows the wide form of text above U+FFFF is its UTF-16 units.
        const std::wstring& expected = sizeof(wchar_t) == 2 ? s.utf16Units : s.codePoints;
        std::wstring fromUtf8, fromUtf16;
        ASSERT_TRUE(AppendWideFromUtf8(fromUtf8, s.utf8.data(), s.utf8.size()));
        EXPECT_EQ(fromUtf8, expected);
        ASSERT_TRUE(AppendWideFromUtf16LE(fromUtf16, reinterpret_cast<const unsigned char*>(s.utf16le.data()),
                                          s.utf16le.size()));
        EXPECT_EQ(fromUtf16, expected);
        EXPECT_EQ(Utf8ToUtf16(reinterpret_cast<const unsigned char*>(s.utf8.data()),
                              static_cast<uint32_t>(s.utf8.size())),
                  expected);
    }
    EXPECT_EQ(samples, 300u);
    EXPECT_GT(pairs, 0u) << "the samples should hold characters above U+FFFF";
}

// UTF-8 and UTF-16LE input judged by python's strict decoders: known traps first, then random
// mutations of valid text (UTF-8) and random units with stray surrogates (UTF-16LE).
TEST(UtfEncodingTest, IllFormedInputAsJudgedByPython) {
    static const char* const program = R"PY(
import random, sys
r = random.Random(int(sys.argv[1]))
utf8 = [b'a\x00b', b'\xc0\x80', b'\xc1\xbf', b'\xe0\x80\x80', b'\xe0\x9f\xbf', b'\xed\xa0\x80', b'\xed\xbf\xbf',
        b'\xf0\x8f\xbf\xbf', b'\xf4\x90\x80\x80', b'\xf5\x80\x80\x80', b'\xff', b'\x80', b'\xe2\x82',
        b'abcdefgh\xe2\x82', b'abcdefghijklmnop\xc3', b'\xc3\x28', b'\xe2\x28\xa1', b'\xf0\x9f\x98',
        b'\xef\xbf\xbf', b'\xf4\x8f\xbf\xbf', b'\xed\x9f\xbf', b'\xee\x80\x80', b'\xc2\x80']
valid = 'abc\u00e9\u20ac\U0001F600 plain ascii text of some length \u0800\uffff\U0010FFFF'.encode('utf-8')
for n in range(400):
    b = bytearray(valid[:r.randint(0, len(valid))])
    for k in range(r.randint(1, 3)):
        if b:
            b[r.randrange(len(b))] = r.randrange(256)
    utf8.append(bytes(b))
utf16 = [b'\x00', b'\x00\xd8', b'\x00\xdc', b'\x00\xd8\x41\x00', b'\x00\xdc\x00\xd8', b'\x3d\xd8\x00\xde',
         b'\xff\xdb\xff\xdf', b'a\x00b\x00c', b'a\x00b\x00\x00\xdcd\x00', b'a\x00' * 40 + b'\xff\xdf',
         b'\xe9\x00\x00\x00b\x00']
for n in range(300):
    units = [r.choice([r.randint(0, 0xD7FF), r.randint(0xD800, 0xDBFF), r.randint(0xDC00, 0xDFFF),
                       r.randint(0xE000, 0xFFFF)]) for i in range(r.randint(1, 6))]
    utf16.append(b''.join(u.to_bytes(2, 'little') for u in units))
for codec, cases in (('utf-8', utf8), ('utf-16-le', utf16)):
    for c in cases:
        try:
            s = c.decode(codec)
            print(codec, c.hex(), 'ok', ' '.join('%x' % ord(ch) for ch in s), s.encode('utf-8').hex(), sep='\t')
        except UnicodeDecodeError:
            print(codec, c.hex(), 'bad', '', '', sep='\t')
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::map<std::string, size_t> good, bad;
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 5u);
        const std::string bytes = Unhex(f[1]);
        SCOPED_TRACE(f[0] + " " + f[1]);
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        std::wstring out = L"kept";
        const bool ok = f[0] == "utf-8" ? AppendWideFromUtf8(out, bytes.data(), bytes.size())
                                        : AppendWideFromUtf16LE(out, data, bytes.size());
        ++(ok ? good : bad)[f[0]];
        EXPECT_EQ(ok, f[2] == "ok");
        if (!ok) {
            EXPECT_EQ(out, L"kept");  // bad input leaves the output alone
        } else if (sizeof(wchar_t) == 4) {
            EXPECT_EQ(out, L"kept" + WideFromHexList(f[3]));
        }
        // The whole-buffer form gives nothing for what the appending form refuses.
        if (f[0] == "utf-8") {
            EXPECT_EQ(Utf8ToUtf16(data, static_cast<uint32_t>(bytes.size())).empty(), !ok || bytes.empty());
            continue;
        }
        if (bytes.size() % 2 != 0) continue;
        // The same units as wide text: encoded only when well-formed (the output left alone
        // otherwise), stored as raw units just as they are.
        std::wstring units;
        for (size_t i = 0; i < bytes.size(); i += 2) units += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        std::string encoded = "kept";
        EXPECT_EQ(AppendUtf8(encoded, units.data(), units.size()), ok);
        EXPECT_EQ(AppendUtf16LE(encoded, units.data(), units.size()), ok);
        EXPECT_EQ(encoded, ok ? "kept" + Unhex(f[4]) + bytes : "kept");
        EXPECT_EQ(Utf8IntoBuffer(units) == "<ill-formed>", !ok);
        // (The terminated form stops at a U+0000.)
        EXPECT_TRUE(units.find(L'\0') != std::wstring::npos || (Utf16ToUtf8(units.c_str()).GetLength() == 0) == !ok);
        std::string raw(Utf16LEUnitBytes(units.data(), units.size()), '\0');
        StoreUtf16LEUnits(reinterpret_cast<unsigned char*>(&raw[0]), units.data(), units.size());
        EXPECT_EQ(raw, bytes);
    }
    for (const char* codec : {"utf-8", "utf-16-le"}) {
        EXPECT_GT(good[codec], 5u) << codec;
        EXPECT_GT(bad[codec], 20u) << codec;
    }
}

// No text at all (even without a pointer) encodes to nothing; wide characters beyond U+10FFFF
// (where wchar_t has 32 bits) are refused by the encoders and stored as raw units as U+FFFD.
TEST(UtfEncodingTest, NoTextAndWideValuesBeyondUnicode) {
    EXPECT_EQ(Utf16ToUtf8(nullptr).GetLength(), 0u);
    EXPECT_EQ(Utf16ToUtf8(L"").GetData(), nullptr);
    std::string bytes = "p";
    std::wstring wide = L"p";
    EXPECT_TRUE(AppendUtf8(bytes, nullptr, 0) && AppendUtf16LE(bytes, nullptr, 0) && AppendWideFromUtf8(wide, nullptr, 0));
    EXPECT_EQ(bytes + ToUtf8(wide), "pp");
    if (sizeof(wchar_t) == 2) return;
    for (const std::wstring& text : {std::wstring(L"a") + static_cast<wchar_t>(0x110000),
                                     std::wstring(20, L'b') + static_cast<wchar_t>(-1)}) {
        std::string out = "kept";
        EXPECT_FALSE(AppendUtf8(out, text.data(), text.size()) || AppendUtf16LE(out, text.data(), text.size()));
        EXPECT_EQ(out, "kept");
        EXPECT_EQ(Utf16ToUtf8(text.c_str()).GetLength(), 0u);
        EXPECT_EQ("<ill-formed>", Utf8IntoBuffer(text));
        std::string raw(Utf16LEUnitBytes(text.data(), text.size()), '\0');
        StoreUtf16LEUnits(reinterpret_cast<unsigned char*>(&raw[0]), text.data(), text.size());
        EXPECT_EQ(raw.substr(raw.size() - 2), "\xFD\xFF");
    }
}
