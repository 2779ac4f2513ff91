// qxxml hex | unhex | base64 | unbase64 <in> <out>
//
// Converts a file's bytes to upper-case hex or base64 text and back, through CBinaryData.
// The text is written without a line break, so `unhex` / `unbase64` give back the exact
// bytes; when reading text, line breaks and spaces at its end (an editor's final newline)
// are ignored. Base64 text may also hold line breaks, spaces and "=" anywhere.
#include "Command.h"

#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstdio>

namespace qxxml_tool {
namespace {

using QxXmlLib10::CBinaryData;
using QxXmlLib10::CQxException;
using QxXmlLib10::FormatString;

std::string ReadInput(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        throw CQxException(FormatString(L"Failed to read the file [%S]", path.c_str()));
    return bytes;
}

void WriteOutput(const std::string& path, const std::string& bytes) {
    if (!WriteFileBytes(path, bytes))
        throw CQxException(FormatString(L"Failed to write the file [%S]", path.c_str()));
}

CBinaryData BytesOf(const std::string& bytes) {
    if (bytes.size() > 0xFFFFFFFFu) throw CQxException(L"The input is larger than 4 GiB");
    return CBinaryData(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                       static_cast<uint32_t>(bytes.size()), /*adopt=*/false);
}

// The input as text, without the white space at its end.
std::wstring TextOf(std::string bytes) {
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r' || bytes.back() == ' ' ||
                              bytes.back() == '\t'))
        bytes.pop_back();
    std::wstring text;
    if (!QxXmlLib10::AppendWideFromUtf8(text, bytes.data(), bytes.size()))
        throw CQxException(L"The input is not UTF-8 text");
    return text;
}

std::string AsciiOf(const std::wstring& text) {
    std::string ascii;
    QxXmlLib10::AppendUtf8(ascii, text.data(), text.size());
    return ascii;
}

// True when the text holds something base64 decoding does not skip.
bool HasBase64Content(const std::wstring& text) {
    return text.find_first_not_of(L"= \t\r\n") != std::wstring::npos;
}

int RunHex(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("hex");
    WriteOutput(args[1], AsciiOf(BytesOf(ReadInput(args[0])).GetAsHexString()));
    return 0;
}

int RunUnhex(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("unhex");
    CBinaryData data;
    data.SetAsHexString(TextOf(ReadInput(args[0])).c_str());
    WriteOutput(args[1], std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength()));
    return 0;
}

int RunBase64(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("base64");
    WriteOutput(args[1], AsciiOf(BytesOf(ReadInput(args[0])).GetAsBase64()));
    return 0;
}

int RunUnbase64(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("unbase64");
    const std::wstring text = TextOf(ReadInput(args[0]));
    CBinaryData data;
    data.SetAsBase64(text.c_str());
    // The library turns invalid text into zero bytes; a tool should say so instead.
    if (data.GetLength() == 0 && HasBase64Content(text)) throw CQxException(L"Invalid base64 text");
    WriteOutput(args[1], std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength()));
    return 0;
}

Registration hex("hex", "<in> <out>", "write a file's bytes as upper-case hex text", RunHex);
Registration unhex("unhex", "<in> <out>", "turn hex text back into bytes", RunUnhex);
Registration base64("base64", "<in> <out>", "write a file's bytes as base64 text", RunBase64);
Registration unbase64("unbase64", "<in> <out>", "turn base64 text back into bytes", RunUnbase64);

}  // namespace
}  // namespace qxxml_tool
