// FormatString: the Windows wide-printf conventions (%s wide, %S narrow, three exponent
// digits), numbers against python3's own printf-style formatting, and results far longer
// than any fixed buffer (the formats without arguments are in data/texts.tsv).
#include <qxxml/values/FormatString.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using namespace QxXmlLib10;
using namespace qxxml_test;

TEST(FormatStringTest, NumbersMatchPythonWithThreeExponentDigits) {
    // Python formats each number the C way; the expected text then gets the third exponent
    // digit and only after that its field width, which is how the width counts on Windows.
    static const char* const program = R"PY(
import random, re, struct, sys
r = random.Random(int(sys.argv[1]))
conversions = ['%f', '%.3f', '%e', '%.10e', '%E', '%g', '%.15g', '%G', '%12.4g', '%-12.3e', '%+g', '% g',
         '%010.2e', '%+012.3E', '% 8.1e', '%#g', '%#.3g', '%.0e', '%8.3f', '%-9.2f|', '%012.4f', '%.17g']
def widen(text):
    return re.sub(r'([eE][+-])(\d\d)$', r'\g<1>0\2', text)
def windows(conversion, v):
    m = re.match(r'%([-+ #0]*)(\d*)(?:\.(\d+))?([a-zA-Z])(.*)$', conversion)
    flags, width, prec, kind, tail = m.groups()
    bare = '%' + ''.join(f for f in flags if f not in '-0') + ('.' + prec if prec else '') + kind
    text = widen(bare % v)
    width = int(width or 0)
    if len(text) < width:
        pad = width - len(text)
        if '-' in flags:
            text += ' ' * pad
        elif '0' in flags:
            at = 1 if text[0] in '+- ' else 0
            text = text[:at] + '0' * pad + text[at:]
        else:
            text = ' ' * pad + text
    return text + tail
values = [0.0, -0.0, 1.0, -1.0, 0.5, 1e20, 1e-5, 1e100, 1e-100, 1.5e300, 5e-324, 123456789.0, 0.1]
for i in range(300):
    values.append(struct.unpack('<d', struct.pack('<Q', r.getrandbits(64)))[0])
    values.append(r.uniform(-1e6, 1e6))
for v in values:
    if v != v or v in (float('inf'), float('-inf')):
        continue
    for conversion in conversions:
        if conversion.endswith('f') or conversion.endswith('f|'):
            if abs(v) > 1e30:
                continue
        print(conversion, repr(v), windows(conversion, v), sep='\t')
print('%.500f', repr(1e300), '%.500f' % 1e300, sep='\t')  # far longer than any fixed buffer
for v in [0, 1, -1, 2**31 - 1, -2**31, 42] + [r.randint(-2**31, 2**31 - 1) for i in range(100)]:
    for conversion in ['%d', '%5d', '%-5d|', '%05d', '%+d', '% d', '%x', '%X', '%08x', '%o', '%.3d']:
        if conversion[-1] not in 'xXo' or v >= 0:
            print(conversion, v, conversion % v, sep='\t')
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    size_t checked = 0;
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 3u) << testing::PrintToString(f);
        const std::wstring format = Widen(f[0]), expected = Widen(f[2]);
        if (f[0].find_first_of("dxXo") != std::string::npos)  // the integer conversions
            EXPECT_EQ(FormatString(format.c_str(), static_cast<int>(std::stol(f[1]))), expected) << f[0] << " of " << f[1];
        else
            EXPECT_EQ(FormatString(format.c_str(), std::strtod(f[1].c_str(), nullptr)), expected) << f[0] << " of " << f[1];
        ++checked;
    }
    EXPECT_GT(checked, 6000u);
}

TEST(FormatStringTest, WideAndNarrowTextArguments) {
    const wchar_t* wide = L"a\u00e9\u20ac\U0001F600";
    EXPECT_EQ(FormatString(L"[%s]", wide), std::wstring(L"[") + wide + L"]");
    EXPECT_EQ(FormatString(L"[%ls]", wide), std::wstring(L"[") + wide + L"]");
    EXPECT_EQ(FormatString(L"[%S|%hs]", "narrow", "short"), L"[narrow|short]");
    // One wide character is one UTF-16 unit on Windows: %c is tried within the BMP.
    EXPECT_EQ(FormatString(L"[%c%c%C]", L'\u00e9', L'\u4e2d', 'n'), L"[\u00e9\u4e2dn]");
    EXPECT_EQ(FormatString(L"[%5s|%-5s|%.2s|%5.1s]", L"ab", L"ab", L"abcdef", L"xyz"), L"[   ab|ab   |ab|    x]");
    EXPECT_EQ(FormatString(L"[%*s|%-*s|%.*s]", 4, L"a", 3, L"b", 2, L"cdef"), L"[   a|b  |cd]");
    EXPECT_EQ(FormatString(L"[%s]", static_cast<const wchar_t*>(nullptr)), L"[(null)]");
    const std::wstring big(100000, L'x');  // far beyond any fixed buffer
    EXPECT_EQ(FormatString(L"<%s>", big.c_str()), L"<" + big + L">");
    EXPECT_EQ(FormatString(L"%g %g", 1e20, 2e20), L"1e+020 2e+020");  // every conversion gets three exponent digits
}

TEST(FormatStringTest, LengthModifiers) {
    // "long" is 32 bits at this interface; 64-bit values take ll or I64.
    EXPECT_EQ(FormatString(L"%ld %lu", -7, 4000000000u), L"-7 4000000000");
    EXPECT_EQ(FormatString(L"%lld %I64d %I64u", -(1LL << 40), 1LL << 62, ULLONG_MAX),
              L"-1099511627776 4611686018427387904 18446744073709551615");
    EXPECT_EQ(FormatString(L"%zu", static_cast<size_t>(12345678901ULL)), L"12345678901");
    EXPECT_EQ(FormatString(L"%hd", 70000), L"4464") << "short wraps like the C library's";
}

TEST(FormatStringTest, DebugTraceWritesTheWholeText) {
#if defined(_WIN32)
    GTEST_SKIP() << "on Windows the text goes to OutputDebugStringW, which a test cannot read back";
#endif
    std::wstring text;
    for (int i = 0; i < 30; ++i) text += L"line " + std::to_wstring(i) + L" \u00e9\n";
    testing::internal::CaptureStderr();
    DebugTrace(L"%s", text.c_str());
    const std::string written = testing::internal::GetCapturedStderr();
#ifdef NDEBUG
    EXPECT_EQ(written, "");
#else
    std::string expected;
    for (int i = 0; i < 30; ++i) expected += "line " + std::to_string(i) + " \xC3\xA9\n";
    EXPECT_EQ(written, expected);
#endif
}
