// Overlapped loading and writing of files of several chunks, in each overlapped mode (the
// kernel's asynchronous transfers and the synchronous fallback): no thread appears before,
// during or after, and the results are the synchronous paths' own: the tree of a whole-file
// load, the bytes of a file written in one piece.
#include "xmlin/XmlinTestSupport.h"

#include "common/OverlappedModes.h"

#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/FileBinaryStream.h>
#include <qxxml/xmlout/FileTextStream.h>
#include <qxxml/xmlout/TextStream.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace xmlin_test {
namespace {

class OverlappedFiles : public OverlappedModeTest {};
INSTANTIATE_OVERLAPPED_MODES(OverlappedFiles);

// About eight chunks of 128 KiB.
std::string LargeDocument() { return GeneratedDocument("generated-1m.xml", 8, 1000000); }

// The element filter samples the threads now and then while the document is parsed, that
// is while the next chunk is being read.
const std::vector<std::string>* g_threadsBefore = nullptr;
std::vector<std::string> g_strangers;
size_t g_elementsSeen = 0;

bool SampleThreads(CXmlElement*) {
    if (++g_elementsSeen % 256 == 0) {
        const std::vector<std::string> now = ThreadsBesidesIoWorkers();
        if (now != *g_threadsBefore) g_strangers.push_back(Join(now));
    }
    return false;  // keep every element
}

TEST_P(OverlappedFiles, LoadStartsNoThreadAndBuildsTheWholeFilesTree) {
    const std::wstring path = FromUtf8(LargeDocument());
    CXmlDocument whole;
    whole.Load(path.c_str());

    const std::vector<std::string> before = ThreadsBesidesIoWorkers();
    g_threadsBefore = &before;
    g_strangers.clear();
    g_elementsSeen = 0;
    CXmlDocument overlapped(&SampleThreads);
    {
        AsyncReading async(true);
        overlapped.Load(path.c_str());
    }
    EXPECT_GT(g_elementsSeen, 2560u);
    EXPECT_EQ(g_strangers, std::vector<std::string>()) << "before: " << Join(before);
    EXPECT_EQ(ThreadsBesidesIoWorkers(), before) << "afterwards";
    const std::vector<std::wstring> prefixes = {L"", L"a", L"b", L"c", L"xsi"};
    EXPECT_EQ(DumpTree(overlapped, prefixes), DumpTree(whole, prefixes));
}

// About `units` characters of `text` from `at`, one more where the last would be the first
// half of a surrogate pair (wchar_t of 16 bits): the text writer never splits a character.
size_t PieceWithWholeCharacters(const std::wstring& text, size_t at, size_t units) {
    const size_t end = std::min(text.size(), at + units);
    return end - at + (end < text.size() && text[end - 1] >= 0xd800 && text[end - 1] < 0xdc00 ? 1 : 0);
}

TEST_P(OverlappedFiles, WriteStartsNoThreadAndEqualsTheFileWrittenInOnePiece) {
    const std::wstring text = FromUtf8(ReadFile(LargeDocument()));
    for (XmlEncoding encoding : {XmlEncoding_UTF8, XmlEncoding_UTF16, XmlEncoding_UTF16NoDeclaration}) {
        const std::string chunked = TempPath("overlapped-write.xml");
        const std::string onePiece = TempPath("one-piece-write.xml");
        const std::vector<std::string> before = ThreadsBesidesIoWorkers();
        {
            CFileTextStream file(FromUtf8(chunked).c_str(), encoding);
            file.Start();
            // As the text writer does: a flush whenever 4096 characters are buffered, which
            // starts a write whenever a chunk's worth of bytes is ready.
            size_t flushes = 0;
            for (size_t at = 0, piece = 0; at < text.size(); at += piece) {
                piece = PieceWithWholeCharacters(text, at, 1000);
                file.Append(text.substr(at, piece));
                if (file.GetLength() < 4096) continue;
                file.Flush();
                EXPECT_EQ(file.GetLength(), 0u);
                if (++flushes % 16 == 0) {
                    EXPECT_EQ(ThreadsBesidesIoWorkers(), before) << "while writing";
                }
            }
            file.End();
        }
        EXPECT_EQ(ThreadsBesidesIoWorkers(), before) << "afterwards";

        CTextStream memory(encoding);
        memory.Append(text);
        CFileBinaryStream(FromUtf8(onePiece).c_str(), encoding, memory.GetBytes()).Write();
        const std::string written = ReadFile(chunked);
        EXPECT_GT(written.size(), 8 * CFileTextStream::kWriteChunkBytes);
        EXPECT_TRUE(written == ReadFile(onePiece)) << "encoding " << encoding;
        CFileTextStream empty(FromUtf8(chunked).c_str(), encoding);  // an empty document still gets its mark
        empty.Start();
        empty.End();
        EXPECT_EQ(ReadFile(chunked), encoding == XmlEncoding_UTF8 ? "" : "\xFF\xFE");
        std::remove(chunked.c_str());
        std::remove(onePiece.c_str());
    }
}

}  // namespace
}  // namespace xmlin_test
