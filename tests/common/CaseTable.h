// CaseTable.h - case tables kept in data files beside the tests: one row per case, fields
// separated by tabs, read by one test that reports the file and line of a failing row.
//
//   for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/read_cases.tsv", 4))
//       ... row.fields[0] ...                            // SCOPED_TRACE(row.where) names the row
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
#include <qxxml/values/ItemType.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace qxxml_test {

using Row = std::vector<std::string>;

// A row of a table with where it stands ("tests/core/data/x.tsv:12") and its text, for the
// failure output.
struct CCaseRow {
    std::string where;
    std::string line;
    Row fields;
};

// The rows of the table at `pathInSource`; a row without `fields` fields (with `fields` 0, rows
// of any length: of fewer than three) fails the test and is left out, and so does a table
// without rows.
inline std::vector<CCaseRow> CaseRows(const std::string& pathInSource, size_t fields) {
    std::vector<CCaseRow> rows;
    int number = 0;
    for (const std::string& line : Lines(ReadSourceFile(pathInSource))) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        CCaseRow row{pathInSource + ":" + std::to_string(number), line, Fields(line)};
        if (fields == 0 ? row.fields.size() >= 3 : row.fields.size() == fields)
            rows.push_back(std::move(row));
        else
            ADD_FAILURE() << row.where << ": not " << fields << " fields: " << line;
    }
    EXPECT_FALSE(rows.empty()) << pathInSource;
    return rows;
}

// Calls `check` with the fields of every row of the table; failures inside name the row.
template <class Check>
void ForEachRow(const std::string& pathInSource, size_t fields, Check&& check) {
    for (const CCaseRow& row : CaseRows(pathInSource, fields)) {
        SCOPED_TRACE(row.where);
        check(row.fields);
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

// An item type by its name as ItemTypeName gives it ("string", "i4", "XmlObjectBase", ...).
inline QxXmlLib10::ItemType ItemTypeNamed(const std::string& name) {
    for (int type = QxXmlLib10::ItemType_invalid; type <= QxXmlLib10::ItemType_XmlCollection; ++type)
        if (QxXmlLib10::ItemTypeName(type) && Widen(name) == QxXmlLib10::ItemTypeName(type))
            return static_cast<QxXmlLib10::ItemType>(type);
    ADD_FAILURE() << "no item type " << name;
    return QxXmlLib10::ItemType_invalid;
}

// A text of a row's word, where "_" stands for a space (words are split at blanks).
inline std::wstring Spaced(const std::string& word) {
    std::wstring text = FromUtf8(word);
    std::replace(text.begin(), text.end(), L'_', L' ');
    return text;
}

// A failure as a row states it: "!" and the most specific class it is of ("value",
// "namespace", "validation", "state", "param", "overflow" or "other"), then its message.
inline std::string FailureText(const QxXmlLib10::CQxException& e) {
    using namespace QxXmlLib10;
    const char* kind = dynamic_cast<const CQxInvalidValueException*>(&e)       ? "value"
                       : dynamic_cast<const CQxInvalidNamespaceException*>(&e) ? "namespace"
                       : dynamic_cast<const CQxValidationException*>(&e)       ? "validation"
                       : dynamic_cast<const CQxInvalidStateException*>(&e)     ? "state"
                       : dynamic_cast<const CQxInvalidParamException*>(&e)     ? "param"
                       : dynamic_cast<const CQxOverFlowException*>(&e)         ? "overflow"
                                                                               : "other";
    return std::string("!") + kind + " " + ToUtf8(e.GetMessageW());
}

}  // namespace qxxml_test
