// CBase64 against python3's base64 module on random bytes and random text, with exact-size
// buffers so that the address sanitizer sees any read or write past an end.
#include <qxxml/values/Base64.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

using namespace qxxml_test;

namespace {

// Decodes with input and output in exactly sized heap arrays (no terminator to lean on).
std::string DecodeExact(const std::wstring& text) {
    std::unique_ptr<wchar_t[]> input(new wchar_t[text.size() ? text.size() : 1]);
    std::copy(text.begin(), text.end(), input.get());
    const size_t capacity = CBase64::DecodeBufferSize(text.size());
    std::unique_ptr<unsigned char[]> output(new unsigned char[capacity]);
    const uint32_t n = CBase64().Decode(input.get(), text.size(), output.get());
    EXPECT_LE(n, capacity);
    return std::string(reinterpret_cast<const char*>(output.get()), n);
}

}  // namespace

TEST(Base64Test, EncodeMatchesPython) {
    static const char* const program = R"PY(
import base64, os, random, sys
r = random.Random(int(sys.argv[1]))
for n in list(range(0, 20)) + list(range(189, 196)) + [r.randint(20, 5000) for i in range(40)]:
    data = bytes(r.randrange(256) for i in range(n))
    print(data.hex(), base64.b64encode(data).decode(), sep='\t')
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    size_t lines = 0;
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 2u);
        const std::string bytes = Unhex(f[0]);
        CBase64 codec;
        EXPECT_EQ(codec.Encode(reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<uint32_t>(bytes.size())),
                  Widen(f[1]));
        EXPECT_EQ(DecodeExact(Widen(f[1])), bytes);
        ++lines;
    }
    EXPECT_EQ(lines, 67u);
}

TEST(Base64Test, DecodeOfRandomTextMatchesPython) {
    // Random text over the alphabet, the skipped characters and a few invalid ones. The
    // expected bytes: zero when any character is invalid; otherwise python's own decoder on
    // the text without the skipped characters, where a single dangling character (6 bits)
    // makes no byte.
    static const char* const program = R"PY(
import base64, random, sys
r = random.Random(int(sys.argv[1]))
alphabet = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'
skipped = '= \t\r\n'
invalid = '*-_.!~\x00\x7f'
for n in range(500):
    length = r.randint(0, 64)
    pool = alphabet * 4 + skipped + (invalid if n % 3 == 0 else '')
    text = ''.join(r.choice(pool) for i in range(length))
    if any(c in invalid for c in text):
        out = b''
    else:
        core = ''.join(c for c in text if c in alphabet)
        if len(core) % 4 == 1:
            core = core[:-1]
        out = base64.b64decode(core + '=' * (-len(core) % 4))
    print(' '.join('%x' % ord(c) for c in text), out.hex(), sep='\t')
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    size_t lines = 0;
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 2u);
        std::wstring text;
        std::istringstream in(f[0]);
        for (std::string item; in >> item;) text += static_cast<wchar_t>(std::stoul(item, nullptr, 16));
        EXPECT_EQ(DecodeExact(text), Unhex(f[1])) << f[0];
        ++lines;
    }
    EXPECT_EQ(lines, 500u);
}

TEST(Base64Test, CharactersBeyondAsciiAreInvalid) {
    // U+0141 and U+00C1 share their low seven bits with "A"; they are still no base64 digits.
    EXPECT_EQ(DecodeExact(std::wstring(L"QUFB") + wchar_t(0x141) + L"AAA"), "");
    EXPECT_EQ(DecodeExact(std::wstring(L"QUF") + wchar_t(0xC1)), "");
    EXPECT_EQ(DecodeExact(L"QUFB"), "AAA");
}

TEST(Base64Test, EmptyAndNullInput) {
    CBase64 codec;
    EXPECT_EQ(codec.Encode(nullptr, 0), L"");
    EXPECT_EQ(codec.Encode(nullptr, 5), L"");
    unsigned char out[4] = {};
    EXPECT_EQ(codec.Decode(nullptr, 0, out), 0u);
    EXPECT_EQ(DecodeExact(L""), "");
    EXPECT_EQ(DecodeExact(L"===="), "");
}
