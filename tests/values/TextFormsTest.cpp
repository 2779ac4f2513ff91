// The text forms of the value classes, from the case table text_forms.tsv beside this file:
// each row reads a text with one reader and expects the text written back, or the message of
// the CQxInvalidValueException the reader throws. Reading rules that a table row says best
// live there; this file only knows how to call each reader.
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/QxVariant.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

using namespace QxXmlLib10;

namespace {

using Reader = std::function<std::wstring(const std::wstring&)>;

template <void (CDateTime::*Parse)(const wchar_t*)>
std::wstring ReadDateTime(const std::wstring& text) {
    CDateTime value;
    (value.*Parse)(text.c_str());
    return value.ToString();
}

// A reader through CConversions, named "kind/rule" (the rule defaults to none), by way of
// QxVariant, which calls the conversion pair of its kind.
Reader ConversionReader(const std::string& name) {
    static const std::map<std::string, CWhitespaceUtils::WhitespaceRule> rules = {
        {"none", CWhitespaceUtils::WhitespaceRule_None},
        {"preserve", CWhitespaceUtils::WhitespaceRule_Preserve},
        {"replace", CWhitespaceUtils::WhitespaceRule_Replace},
        {"collapse", CWhitespaceUtils::WhitespaceRule_Collapse}};
    const size_t slash = name.find('/');
    const std::wstring kind = qxxml_test::Widen(name.substr(0, slash));
    const auto rule = rules.at(slash == std::string::npos ? "none" : name.substr(slash + 1));
    for (int type = ItemType_hexBinary; type <= ItemType_integer; ++type) {
        if (kind == ItemTypeName(type)) {
            return [type, rule](const std::wstring& text) {
                QxVariant value;
                value.FromString(text, static_cast<ItemType>(type), rule);
                return value.ToString(nullptr);
            };
        }
    }
    ADD_FAILURE() << "no reader " << name;
    return [](const std::wstring&) { return std::wstring(); };
}

Reader ReaderNamed(const std::string& name) {
    static const std::map<std::string, Reader> readers = {
        {"ParseXSDDate", ReadDateTime<&CDateTime::ParseXSDDate>},
        {"ParseXSDTime", ReadDateTime<&CDateTime::ParseXSDTime>},
        {"ParseXSDDateTime", ReadDateTime<&CDateTime::ParseXSDDateTime>},
        {"ParseXSDDuration",
         [](const std::wstring& text) {
             CDateTimeSpan value;
             value.ParseXSDDuration(text.c_str());
             return value.ToString();
         }},
        {"CDecimal", [](const std::wstring& text) { return CDecimal(text.c_str()).ToString(); }},
        {"CBigInteger", [](const std::wstring& text) { return CBigInteger(text.c_str()).ToString(); }},
    };
    const auto found = readers.find(name);
    return found != readers.end() ? found->second : ConversionReader(name);
}

}  // namespace

// Rows: reader <tab> text <tab> expected, with \t \r \n \\ escapes in the two texts. The
// expected text "=" is the text itself; "!message" is a refusal with that message.
TEST(TextForms, EveryRowOfTheTable) {
    const std::string table = qxxml_test::ReadFile(QXXML_SOURCE_DIR "/tests/values/text_forms.tsv");
    int rows = 0, lineNumber = 0;
    for (const std::string& line : qxxml_test::Lines(table)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> fields = qxxml_test::Fields(line);
        ASSERT_EQ(fields.size(), 3u) << "text_forms.tsv:" << lineNumber;
        SCOPED_TRACE("text_forms.tsv:" + std::to_string(lineNumber) + " " + line);
        const std::wstring text = qxxml_test::FromUtf8(qxxml_test::Unescape(fields[1]));
        const std::wstring expected = qxxml_test::FromUtf8(qxxml_test::Unescape(fields[2]));
        const Reader read = ReaderNamed(fields[0]);
        std::wstring written;
        const std::wstring message =
            qxxml_test::MessageOf<CQxInvalidValueException>([&] { written = read(text); });
        if (!expected.empty() && expected[0] == L'!')
            EXPECT_EQ(message, expected.substr(1));
        else
            EXPECT_EQ(message == qxxml_test::kNoException ? written : message, expected == L"=" ? text : expected);
        ++rows;
    }
    EXPECT_GT(rows, 100);
}
