// CBinaryData: hex and base64 forms against python3, copies changed on several threads, text
// stored as UTF-16 and long appends (sharing, ReleaseData, adopted arrays, indexes, equality
// and the messages of refused texts are Binary scripts and rows of data/texts.tsv).
#include <qxxml/values/BinaryData.h>

#include "common/ExpatOracle.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace QxXmlLib10;
using namespace qxxml_test;

// ------------------------------------------------------------------ hex and base64

TEST(BinaryDataTest, HexAndBase64MatchPython) {
    static const char* const program = R"PY(
import base64, binascii, random, sys
r = random.Random(int(sys.argv[1]))
for n in list(range(0, 10)) + [8191, 8192, 8193, 100000] + [r.randint(10, 3000) for i in range(30)]:
    data = bytes(r.randrange(256) for i in range(n))
    # (the characters a reader skips are tried in Base64Test.cpp)
    print(data.hex(), binascii.hexlify(data).decode().upper(), base64.b64encode(data).decode(), sep='\t')
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    size_t count = 0;
    for (const std::vector<std::string>& f : Rows(Python(program, std::to_string(seed)))) {
        ASSERT_EQ(f.size(), 3u);
        const std::string data = Unhex(f[0]);
        SCOPED_TRACE("length " + std::to_string(data.size()));

        CBinaryData fromHex;
        fromHex.SetAsHexString(Widen(f[0]).c_str());  // python writes lower case
        EXPECT_EQ(Bytes(fromHex), data);
        EXPECT_EQ(fromHex.GetAsHexString(), Widen(f[1]));
        EXPECT_EQ(fromHex.GetAsBase64(), Widen(f[2]));

        CBinaryData fromBase64;
        fromBase64.SetAsBase64(Widen(f[2]).c_str());
        EXPECT_EQ(Bytes(fromBase64), data);
        ++count;
    }
    EXPECT_EQ(count, 44u);
}

// ------------------------------------------------------------------ sharing

// (What a copy shares and what it does not: the Binary scripts of data/texts.tsv.)
TEST(BinaryDataTest, CopiesChangedOnManyThreads) {
    // Every thread copies the shared value over and over and changes its copies; the
    // original and the other threads' copies must never see those changes, and the block
    // must be freed exactly once (the sanitizer build checks the latter).
    const std::string original(10000, 'o');
    const CBinaryData shared = BinaryOf(original);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                CBinaryData copy = shared;
                CBinaryData another = copy;
                copy[static_cast<uint32_t>(i % 10000)] = static_cast<unsigned char>('a' + t);
                another.Append(static_cast<unsigned char>(t));
                if (copy[static_cast<uint32_t>(i % 10000)] != 'a' + t || another.GetLength() != 10001 ||
                    another[static_cast<uint32_t>(i % 10000)] != 'o')
                    ++failures;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(Bytes(shared), original);
}

// ------------------------------------------------------------------ building

TEST(BinaryDataTest, TextIsStoredAsUtf16LE) {
    const std::string expected = Unhex(Lines(Python(
        "print('A\\u00e9\\u20ac\\U0001F600z'.encode('utf-16-le').hex())"))[0]);
    const wchar_t* text = L"A\u00e9\u20ac\U0001F600z";
    EXPECT_EQ(Bytes(CBinaryData(text)), expected);
    CBinaryData appended;
    appended.Append(L'A');
    appended.Append(std::wstring(L"\u00e9\u20ac"));
    appended.Append(L"\U0001F600");
    appended.Append(L'z');
    EXPECT_EQ(Bytes(appended), expected);
    CBinaryData set = BinaryOf("old");
    set.SetBuffer(text);
    EXPECT_EQ(Bytes(set), expected);
    EXPECT_EQ(CBinaryData(static_cast<const wchar_t*>(nullptr)).GetLength(), 0u);
    EXPECT_EQ(CBinaryData(L"").GetLength(), 0u);
}

TEST(BinaryDataTest, AppendsGrowAndMayReadFromTheValueItself) {
    CBinaryData value;
    std::string expected;
    for (int i = 0; i < 50000; ++i) {
        value.Append(static_cast<unsigned char>(i));
        expected += static_cast<char>(i);
    }
    EXPECT_EQ(Bytes(value), expected);

    // The source lies inside the value and the append must grow it: the bytes move.
    for (int round = 0; round < 3; ++round) {
        value.Append(value.GetData(), value.GetLength());
        expected += expected;
    }
    EXPECT_EQ(Bytes(value), expected);  // (small values appended to themselves: data/texts.tsv)
}
