// CaseTable.h - the rows of a case table in tests/core/data: tab-separated fields, one case a
// line; blank lines and lines starting with '#' are left out.
//
//   for (const CCaseRow& row : CaseRows("read_cases.tsv", 4)) {
//       SCOPED_TRACE(row.line);
//       ... row.fields[0] ...
//   }
#pragma once

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qxxml_test {

struct CCaseRow {
    std::string line;  // for the failure output
    std::vector<std::string> fields;
};

// The rows of tests/core/data/<name>; a row without `fieldCount` fields fails the test and is
// left out, and so does a table without rows.
inline std::vector<CCaseRow> CaseRows(const std::string& name, size_t fieldCount) {
    std::vector<CCaseRow> rows;
    for (const std::string& line : Lines(ReadFile(QXXML_SOURCE_DIR "/tests/core/data/" + name))) {
        if (line.empty() || line[0] == '#') continue;
        CCaseRow row{line, Fields(line)};
        if (row.fields.size() == fieldCount)
            rows.push_back(row);
        else
            ADD_FAILURE() << name << ": not " << fieldCount << " fields: " << line;
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}

}  // namespace qxxml_test
