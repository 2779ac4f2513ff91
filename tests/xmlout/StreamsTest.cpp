#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/BinaryStream.h>
#include <qxxml/xmlout/FileBinaryStream.h>
#include <qxxml/xmlout/FileTextStream.h>
#include <qxxml/xmlout/TextStream.h>

#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

// Text with ASCII, Latin-1, BMP and astral characters and line feeds, spread over blocks.
std::wstring MixedText(size_t length) {
    std::wstring text;
    // The length counts UTF-16 units, so that the text is the same on every platform.
    const wchar_t pieces[][4] = {L"a<", L"\u00e9", L"\u20ac", L"\U0001F600", L"z\n"};
    const size_t units[] = {2, 1, 1, 2, 2};
    for (size_t i = 0, done = 0; done < length; ++i) {
        text += pieces[i % 5];
        done += units[i % 5];
    }
    return text;
}

// The text's bytes encoded in one piece: the encoders, which python's codecs check
// (UtfEncodingTest.cpp), are the reference for what a stream makes of its blocks and pieces.
std::string Encoded(const std::wstring& text, bool utf16 = false) {
    std::string bytes;
    EXPECT_TRUE(utf16 ? AppendUtf16LE(bytes, text.data(), text.size()) : AppendUtf8(bytes, text.data(), text.size()));
    return bytes;
}

}  // namespace

// ------------------------------------------------------------------ CTextStream

// Text in each encoding; a pair given as two units (as UTF-16 text carries it), its high half
// the last character of the first block; and a UTF-8 file stream, which encodes each piece as
// it arrives: a pair given as two units in one piece is one character, a lone surrogate is
// refused at once and nothing of its piece is kept, while what came before reaches the file.
TEST(TextStream, BytesAreTheWholeTextsEncoding) {
    const std::wstring text = MixedText(9000), split = std::wstring(4094, L'x') + L"\U0001F600" + L"y";
    CTextStream utf8(XmlEncoding_UTF8), utf16(XmlEncoding_UTF16), noDecl(XmlEncoding_UTF16NoDeclaration);
    for (CTextStream* stream : {&utf8, &utf16, &noDecl}) stream->Append(text);
    EXPECT_TRUE(Encoded(text) == Bytes(utf8.GetBytes()));
    EXPECT_TRUE(Encoded(text, true) == Bytes(utf16.GetBytes()));
    EXPECT_TRUE(Encoded(text, true) == Bytes(noDecl.GetBytes()));  // no byte order mark either way

    CTextStream units(XmlEncoding_UTF8);
    for (wchar_t ch : std::wstring(4094, L'x')) units.AppendChar(ch);
    for (wchar_t ch : {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L'y'}) units.AppendChar(ch);
    EXPECT_TRUE(Encoded(split) == Bytes(units.GetBytes()));

    const std::string path = TempPath("pieces.xml");
    CFileTextStream file(Widen(path).c_str(), XmlEncoding_UTF8);
    file.Start();
    const wchar_t pair[] = {L'<', static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L'>', 0};
    file.Append(pair);
    const size_t before = file.GetLength();
    const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xDC00), 0};
    EXPECT_EQ(L"The text cannot be encoded: it holds an unpaired surrogate or a value that is not a Unicode "
              L"character",
              MessageOf([&] { file.Append(lone); }));
    EXPECT_EQ(before, file.GetLength());
    file.End();
    EXPECT_TRUE(Encoded(L"<\U0001F600>") == ReadFile(path));
}

TEST(TextStream, UnknownEncodingAndUnencodableTextAreRefused) {
    CTextStream none;
    none.Append(L"<a/>");
    const std::wstring message = MessageOf([&] { none.GetBytes(); });
    EXPECT_EQ(0u, message.find(L"Unknown Encoding, select UTF-8 (")) << message;
    EXPECT_EQ(L')', message.back());
    EXPECT_EQ(message, MessageOf([] { CTextStream::CheckEncoding(static_cast<XmlEncoding>(7)); }));
    EXPECT_EQ(kNoException, MessageOf([] { CTextStream::CheckEncoding(XmlEncoding_UTF16); }));

    CTextStream lone(XmlEncoding_UTF8);
    lone.Append(L"a");
    lone.AppendChar(static_cast<wchar_t>(0xD800));
    EXPECT_NE(kNoException, MessageOf([&] { lone.GetBytes(); }));
}

TEST(TextStream, StartClearsAndTakeTextEmpties) {
    CTextStream stream;
    stream.Append(L"old");
    stream.Start();
    EXPECT_EQ(0u, stream.GetLength());
    const std::wstring text = MixedText(5000);
    stream.Append(text.c_str());
    stream.Flush();  // nothing in memory
    stream.End();
    EXPECT_EQ(text, stream.GetString());
    EXPECT_EQ(text, stream.TakeText());
    EXPECT_EQ(0u, stream.GetLength());
}

// ------------------------------------------------------------------ file streams

TEST(FileBinaryStream, WritesMarkForUtf16AndBytesAsGiven) {
    const std::string payload = "<a>\x01\x02</a>";
    const CBinaryData data = BinaryOf(payload);
    for (XmlEncoding encoding : {XmlEncoding_None, XmlEncoding_UTF8, XmlEncoding_UTF16, XmlEncoding_UTF16NoDeclaration}) {
        const std::string path = TempPath("binary.xml"), mark = encoding >= XmlEncoding_UTF16 ? "\xFF\xFE" : "";
        CFileBinaryStream(Widen(path).c_str(), encoding, data).Write();
        EXPECT_EQ(mark + payload, ReadFile(path)) << encoding;
    }
    const std::string path = TempPath("appended.bin");
    CFileBinaryStream appended(Widen(path).c_str(), XmlEncoding_UTF8);
    appended.AppendByte('<');
    appended.Append(reinterpret_cast<const unsigned char*>("b/>"), 3);
    appended.Write();
    EXPECT_EQ("<b/>", ReadFile(path));
}

// A missing folder fails a text stream at Start and a binary one at Write, with the name and code.
TEST(FileStreams, MissingDirectoryFailsWithNameAndCode) {
    const std::wstring name = Widen(TempDir() + "/no-such-dir/out.xml");
    char code[16];
    std::snprintf(code, sizeof code, "%08X", kSysFolderNotFound);
    const std::wstring message = L"Failed to write data to the file [" + name + L"] error [0x" + Widen(code) + L"]";
    CFileTextStream file(name.c_str(), XmlEncoding_UTF8);
    EXPECT_EQ(message, MessageOf([&] { file.Start(); }));
    EXPECT_EQ(message, MessageOf([&] { CFileBinaryStream(name.c_str(), XmlEncoding_UTF8, CBinaryData()).Write(); }));
}

TEST(BinaryStream, AppendsAccumulateAndCopiesShareStorage) {
    CBinaryStream stream;
    for (int i = 0; i < 100000; ++i) stream.AppendByte(static_cast<unsigned char>(i));
    const CBinaryData first = stream.GetData();
    const CBinaryData again = stream.GetData();
    EXPECT_EQ(100000u, first.GetLength());
    EXPECT_EQ(first.GetData(), again.GetData());  // no copy between calls
    stream.Append(first);
    stream.Append(reinterpret_cast<const unsigned char*>("xyz"), 3);
    const CBinaryData all = stream.GetData();
    ASSERT_EQ(200003u, all.GetLength());
    EXPECT_EQ(100000u, first.GetLength());  // earlier copies keep their value
    for (uint32_t i = 0; i < 200000; ++i) ASSERT_EQ(static_cast<unsigned char>(i % 100000), all[i]) << i;
    EXPECT_EQ('z', all[200002]);
}
