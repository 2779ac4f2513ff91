// CBase64's decoder against python3's base64 module on random text (characters beyond ASCII
// and beyond U+FFFF included), with exact-size buffers so that the address sanitizer sees any
// read or write past an end. Encoding is checked through CBinaryData (BinaryDataTest.cpp).
#include <qxxml/values/Base64.h>
#include <qxxml/values/BinaryData.h>

#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qxxml_test;

namespace {

// Decodes with input and output in exactly sized heap arrays (no terminator to lean on).
std::string DecodeExact(const std::wstring& text) {
    std::unique_ptr<wchar_t[]> input(new wchar_t[text.size() ? text.size() : 1]);
    std::copy(text.begin(), text.end(), input.get());
    const size_t capacity = CBase64::DecodeBufferSize(input.get(), text.size());
    std::unique_ptr<unsigned char[]> output(new unsigned char[capacity]);
    const uint32_t n = CBase64().Decode(input.get(), text.size(), output.get());
    EXPECT_LE(n, capacity);
    return std::string(reinterpret_cast<const char*>(output.get()), n);
}

}  // namespace

TEST(Base64Test, DecodeLooksAtTheLowSevenBitsOfEveryUtf16Unit) {
    // Random texts over the alphabet, the skipped characters, invalid ones and characters
    // beyond ASCII, among them characters beyond U+FFFF. The expected bytes: each
    // character is taken as its UTF-16 code units (a surrogate pair beyond U+FFFF, as where
    // wide characters are UTF-16) and each unit as the ASCII character of its low seven bits;
    // zero bytes when one of those is invalid; otherwise python's own decoder on the text
    // without the skipped characters, where a single dangling character (6 bits) makes no
    // byte.
    static const char* const program = R"PY(
import base64, random, sys
r = random.Random(int(sys.argv[1]))
alphabet = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'
skipped = '= \t\r\n'
invalid = '*-_.!~\x00\x7f'

def beyond_bmp(high, low):
    # a character beyond U+FFFF whose surrogates read as the ASCII characters high and low
    v = ((r.randrange(8) << 7 | ord(high)) << 10) | (r.randrange(8) << 7 | ord(low))
    return chr(0x10000 + v)

def expected(text):
    units = text.encode('utf-16-le', 'surrogatepass')
    seven = ''.join(chr(units[i] & 0x7f) for i in range(0, len(units), 2))
    if any(c not in alphabet + skipped for c in seven):
        return b''
    core = ''.join(c for c in seven if c in alphabet)
    if len(core) % 4 == 1:
        core = core[:-1]
    return base64.b64decode(core + '=' * (-len(core) % 4))

texts = []
valid = alphabet + skipped
for n in range(600):
    pool = list(alphabet * 3 + skipped)
    pool += [chr(r.choice([0x80, 0x100, 0x2900, 0xFF80]) | ord(c)) for c in r.sample(valid, 12)]
    pool += [beyond_bmp(r.choice(valid), r.choice(valid)) for i in range(8)]
    if n % 3 == 0:
        pool += list(invalid) + [chr(r.randrange(0x80, 0xD800)), chr(r.randrange(0x10000, 0x110000))]
    texts.append(''.join(r.choice(pool) for i in range(r.randint(0, 64))))
for text in texts:
    print(' '.join('%x' % ord(c) for c in text), expected(text).hex(), sep='\t')
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    size_t lines = 0;
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 2u);
        std::wstring text;
        std::istringstream in(f[0]);
        for (std::string item; in >> item;)
            AppendCodePoint(text, static_cast<char32_t>(std::stoul(item, nullptr, 16)));
        const std::string expected = Unhex(f[1]);
        EXPECT_EQ(DecodeExact(text), expected) << f[0];
        if (text.find(L'\0') == std::wstring::npos) {  // a C string ends at its NUL
            QxXmlLib10::CBinaryData value;                // its buffer is sized from the text too
            value.SetAsBase64(text.c_str());
            EXPECT_EQ(Bytes(value), expected);
        }
        ++lines;
    }
    EXPECT_EQ(lines, 600u);
    EXPECT_EQ(CBase64().Decode(nullptr, 0, nullptr), 0u);
}
