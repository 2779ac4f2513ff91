// CaseTable.h - case tables kept in data files beside the tests: one row per case, fields
// separated by tabs, read by one test that reports the file and line of a failing row.
//
//   qxxml_test::ForEachRow("tests/metadata/element_reading.tsv", 5, [&](const Row& f) {
//       const qxxml_test::CaseWords setup(f[1]);        // "name=c existing" -> Get("name"), Has("existing")
//       EXPECT_EQ(Run(f), f.back());
//   });
//   std::string outcome = qxxml_test::FailureText(e);   // "!validation Failed to find ..."
//
// Blank lines and lines starting with "#" are comments.
#pragma once

#include "common/TestSupport.h"

#include <qxxml/support/QxException.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace qxxml_test {

using Row = std::vector<std::string>;

// Calls `check` with the fields of every row of the table at `pathInSource`, each row having
// `fields` fields; failures inside name the row.
template <class Check>
void ForEachRow(const std::string& pathInSource, size_t fields, Check&& check) {
    const std::string table = ReadFile(std::string(QXXML_SOURCE_DIR) + "/" + pathInSource);
    ASSERT_FALSE(table.empty()) << pathInSource;
    int number = 0;
    for (const std::string& line : Lines(table)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(pathInSource + ":" + std::to_string(number));
        const Row row = Fields(line);
        EXPECT_EQ(row.size(), fields);
        if (row.size() == fields) check(row);
    }
}

// The words of a field: "key=value" or a bare flag (whose value is empty).
class CaseWords {
public:
    explicit CaseWords(const std::string& text) {
        for (const std::string& word : Words(text)) {
            const size_t equals = word.find('=');
            m_words[word.substr(0, equals)] = equals == std::string::npos ? "" : word.substr(equals + 1);
        }
    }
    bool Has(const std::string& key) const { return m_words.count(key) != 0; }
    std::string Get(const std::string& key, const std::string& otherwise = "") const {
        return Has(key) ? m_words.at(key) : otherwise;
    }
    std::wstring Wide(const std::string& key, const std::string& otherwise = "") const {
        return FromUtf8(Get(key, otherwise));
    }
    int Number(const std::string& key, int otherwise) const { return Has(key) ? std::stoi(Get(key)) : otherwise; }

private:
    std::map<std::string, std::string> m_words;
};

// A white-space rule by name: none, preserve, replace, or (any other) collapse.
inline QxXmlLib10::CWhitespaceUtils::WhitespaceRule WhitespaceRuleNamed(const std::string& name) {
    using W = QxXmlLib10::CWhitespaceUtils;
    return name == "none"       ? W::WhitespaceRule_None
           : name == "preserve" ? W::WhitespaceRule_Preserve
           : name == "replace"  ? W::WhitespaceRule_Replace
                                : W::WhitespaceRule_Collapse;
}

// A text of a row's word, where "_" stands for a space (words are split at blanks).
inline std::wstring Spaced(const std::string& word) {
    std::wstring text = FromUtf8(word);
    std::replace(text.begin(), text.end(), L'_', L' ');
    return text;
}

// A failure as a row states it: "!" and the most specific class it is of ("value",
// "namespace", "validation", "state", "param" or "other"), then its message.
inline std::string FailureText(const QxXmlLib10::CQxException& e) {
    using namespace QxXmlLib10;
    const char* kind = dynamic_cast<const CQxInvalidValueException*>(&e)       ? "value"
                       : dynamic_cast<const CQxInvalidNamespaceException*>(&e) ? "namespace"
                       : dynamic_cast<const CQxValidationException*>(&e)       ? "validation"
                       : dynamic_cast<const CQxInvalidStateException*>(&e)     ? "state"
                       : dynamic_cast<const CQxInvalidParamException*>(&e)     ? "param"
                                                                               : "other";
    return std::string("!") + kind + " " + ToUtf8(e.GetMessageW());
}

}  // namespace qxxml_test
