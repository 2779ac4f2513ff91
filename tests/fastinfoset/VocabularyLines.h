// VocabularyLines.h - a vocabulary in the lines fastinfoset_oracle.java takes ("P|N|L|V|C
// <string>", "E|A <prefix> <namespace> <local>", tab-separated, in table order), entered into
// the library's vocabulary, so that a test hands Java and the library the same tables.
#pragma once

#include <qxxml/fastinfoset/FIVocabulary.h>

#include "common/TestSupport.h"

#include <string>

namespace qxxml_test {

inline void AddVocabularyLines(QxXmlLib10::CFIVocabulary& vocabulary, const std::string& lines) {
    for (const std::vector<std::string>& f : Rows(lines)) {
        const std::wstring last = FromUtf8(f.back());
        if (f[0] == "P") vocabulary.AddPrefixName(last);
        if (f[0] == "N") vocabulary.AddNamespaceName(last);
        if (f[0] == "L") vocabulary.AddLocalName(last);
        if (f[0] == "E") vocabulary.AddElement(FromUtf8(f[1]), FromUtf8(f[2]), last);
        if (f[0] == "A") vocabulary.AddAttribute(FromUtf8(f[1]), FromUtf8(f[2]), last);
        if (f[0] == "V") vocabulary.AddAttributeValue(last);
        if (f[0] == "C") vocabulary.AddElementValue(last);
    }
}

}  // namespace qxxml_test
