// The writing entry points (text, stream, file; plain, compressed, overlapped), driven by
// Root objects of the test binding. (The declaration, formatting and line ends of the text and
// the stream's document items are rows of data/read_cases.tsv.)
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>

#include "common/CaseTable.h"
#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

using namespace test_binding;
using namespace qxxml_test;

namespace {

// A minimal Root with `tags` tags that need escaping and lie outside the BMP.
CSmartPtr<CRoot> RootWithTags(int tags) {
    CSmartPtr<CRoot> root = MakeMinimalRoot();
    for (int i = 0; i < tags; ++i) root->GetTags()->Add(L"caf\u00e9 <" + std::to_wstring(i) + L"> & \U0001F600");
    return root;
}

// Restores the process-wide switch whatever a test does.
struct AsyncSwitch {
    explicit AsyncSwitch(bool on) { AsyncToXmlFile(on); }
    ~AsyncSwitch() { AsyncToXmlFile(false); }
};

class ToXmlTest : public ::testing::Test {
protected:
    CSmartPtr<CRoot> small = RootWithTags(3);
    CSmartPtr<CRoot> large = RootWithTags(4000);  // far beyond the 4096-character flush threshold
    CXmlSerializationContext context;
};

}  // namespace

// Python decodes the streams (inflating the compressed ones) and compares them with the wide
// text, and reads the first line of UTF-16 streams with and without a declaration. Each gzip
// file, written with and without overlapped writing, inflates to the bytes of the stream,
// in UTF-16 marked.
TEST_F(ToXmlTest, StreamAndGzipFileBytesInEachEncoding) {
    const std::string textPath = TempPath("wide.json");
    WriteFile(textPath, Json(large->ToXml(false, true, EOLType_LF, context)));
    int files = 0;
    const auto read = [&](const std::string& bytes) {
        const std::string path = TempPath("stream" + std::to_string(files++) + ".bin");
        WriteFile(path, bytes);
        return "open('" + path + "', 'rb').read()";
    };
    const auto stream = [&](CRoot& root, bool declaration, XmlEncoding encoding, CompressionType compression) {
        return read(Bytes(root.ToXmlStream(declaration, !declaration, encoding, EOLType_LF, context, compression)));
    };
    const std::string utf8 = stream(*large, false, XmlEncoding_UTF8, CompressionType_None);
    const std::string utf16 = stream(*large, false, XmlEncoding_UTF16, CompressionType_None);
    const std::string gz = stream(*large, false, XmlEncoding_UTF8, CompressionType_GZip);
    const std::string zl = stream(*large, false, XmlEncoding_UTF8, CompressionType_ZLib);
    const std::string noDecl = stream(*small, true, XmlEncoding_UTF16NoDeclaration, CompressionType_None);
    const std::string withDecl = stream(*small, true, XmlEncoding_UTF16, CompressionType_None);
    std::string gzipped;
    for (bool async : {false, true}) {
        AsyncSwitch on(async);
        for (XmlEncoding encoding : {XmlEncoding_UTF8, XmlEncoding_UTF16}) {
            const std::string path = TempPath("file" + std::to_string(async) + std::to_string(encoding) + ".xml.gz");
            large->ToXmlFile(Widen(path).c_str(), false, true, encoding, EOLType_LF, context, CompressionType_GZip);
            gzipped += ", gzip.decompress(open('" + path + "', 'rb').read()) == " +
                       (encoding == XmlEncoding_UTF8 ? utf8 : "b'\\xff\\xfe' + " + utf16);
        }
    }
    EXPECT_EQ("True True True True\nTrue <?xml version=\"1.0\"?>\n<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
              "True True True True\n",
              Python("import gzip, json, zlib\ntext = json.loads(open('" + textPath + "').read())\n"
                     "data = " + utf8 + "\nprint(data.decode('utf-8') == text, " + utf16 + ".decode('utf-16-le') == text,\n"
                     "      gzip.decompress(" + gz + ") == data, zlib.decompress(" + zl + ") == data)\n"
                     "print(" + noDecl + "[:2] == '<'.encode('utf-16-le'), " + noDecl + ".decode('utf-16-le').split('\\n')[0])\n"
                     "print(" + withDecl + ".decode('utf-16-le').split('\\n')[0])\n"
                     "print(" + gzipped.substr(2) + ")\n"));
}

TEST_F(ToXmlTest, FileBytesAreTheSameWithAndWithoutOverlappedWriting) {
    std::vector<std::pair<std::string, std::string>> written;  // for expat: path, encoding
    for (XmlEncoding encoding : {XmlEncoding_UTF8, XmlEncoding_UTF16, XmlEncoding_UTF16NoDeclaration}) {
        const std::string stream =
            Bytes(large->ToXmlStream(true, true, encoding, EOLType_CRLF, context, CompressionType_None));
        const std::string mark = encoding == XmlEncoding_UTF8 ? "" : "\xFF\xFE";
        std::string files[2];
        for (bool async : {false, true}) {
            AsyncSwitch on(async);
            const std::string path = TempPath(async ? "async.xml" : "memory.xml");
            large->ToXmlFile(Widen(path).c_str(), true, true, encoding, EOLType_CRLF, context, CompressionType_None);
            files[async] = ReadFile(path);
        }
        EXPECT_GT(files[0].size(), 100000u);
        EXPECT_TRUE(mark + stream == files[0]) << encoding;
        EXPECT_TRUE(files[0] == files[1]) << encoding;

        written.emplace_back(TempPath("expat" + std::to_string(encoding) + ".xml"),
                             encoding == XmlEncoding_UTF8 ? "UTF-8" : "UTF-16");
        WriteFile(written.back().first, files[1]);
    }
    for (const std::string& events : ExpatEventsOfFiles(written)) {
        EXPECT_EQ(0u, events.find("E \"{urn:qxxml:test:binding}Root\"\n")) << events.substr(0, 200);
        EXPECT_EQ(std::string::npos, events.find("ERROR"));
    }
}

// The rows of data/refused_outputs.tsv, with and without overlapped writing.
TEST_F(ToXmlTest, RefusedFileOutputCreatesNoFile) {
    const std::string missing = TempDir() + "/missing-dir/out.xml";
    for (bool async : {false, true}) {
        AsyncSwitch on(async);
        for (const CCaseRow& row : CaseRows("tests/core/data/refused_outputs.tsv", 3)) {
            SCOPED_TRACE(row.where + (async ? ", overlapped" : ""));
            const CaseWords output(row.fields[1]);
            const CompressionType compression = output.Has("zlib") ? CompressionType_ZLib : CompressionType_None;
            const std::string path = row.fields[0] == "-" ? missing : TempPath(row.fields[0]);
            std::remove(path.c_str());
            const std::wstring message = MessageOf([&] {
                if (output.Has("fastinfoset"))
                    small->ToFastInfosetFile(Widen(path).c_str(), FInfoDecl_None, context, compression);
                else
                    small->ToXmlFile(Widen(path).c_str(), true, true,
                                     output.Has("no-encoding") ? XmlEncoding_None : XmlEncoding_UTF8, EOLType_LF,
                                     context, compression);
            });
            std::string expected = row.fields[2];
            const size_t named = expected.find("$MISSING");
            if (named != std::string::npos) expected.replace(named, 8, missing);
            EXPECT_EQ(ToUtf8(message).substr(0, expected.size()), expected);
            EXPECT_FALSE(FileExists(path));
        }
    }
}
