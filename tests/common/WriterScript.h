// WriterScript.h - writer tests as rows of data: a case file scripts the calls made on a
// CXmlWriter (the text writer or the Fast Infoset writer) and says what must come out.
//
//   for (const WriterCase& c : WriterCases("tests/xmlout/data/text_writer.txt")) {
//       SCOPED_TRACE(c.name);
//       CXmlTextWriter writer(&stream);
//       RunScript(writer, c);                 // every call of the script, in order
//       EXPECT_EQ(c.expect, ...);
//   }
//
// A case file holds lines of tab-separated fields; "#" lines and blank lines are comments:
//   case    NAME  OPTION...        starts a case (the options mean what the test says)
//   VERB    ARG...                 one writer call
//   raises  MESSAGE  VERB  ARG...  the call must throw a CQxException with exactly MESSAGE
//   expect  TEXT                   what the case must give (the test says what it compares)
// Arguments and texts take the escapes "\t", "\r", "\n" and "\\". The verbs:
//   decl, eol N, close, raw TEXT   (text writer only) WriteXmlDeclaration, SetEOLType,
//                        CloseStartTag, WriteRawXml
//   default URI          SetDefaultNamespace          ns PREFIX URI      AddNamespace
//   start NAME URI       StartElement                 end                EndElement
//   value TYPE TEXT      WriteElementValue            attr NAME URI TYPE VALUE  AddAttribute
//   dvalue NAME URI TYPE TEXT  WriteDeclaredValueElement, the names in strings that stay put
//   nil                  AddXsiNilAttribute           xsitype URI NAME   AddXsiTypeAttribute
//   comment TEXT         WriteComment                 pi TEXT            WriteProcessingInstruction
//   schema TEXT          WriteInlineSchema            enddoc             EndDocument
// TYPE is an item type's name ("string", "i4", "date", ... as ItemTypeName gives them).
#pragma once

#include <qxxml/xmlout/XmlTextWriter.h>
#include <qxxml/xmlout/XmlWriter.h>

#include "common/CaseTable.h"
#include "common/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace qxxml_test {

struct WriterCase {
    std::string name;
    std::vector<std::string> options;
    std::vector<std::vector<std::string>> steps;  // each: verb and its (unescaped) arguments
    std::wstring expect;

    bool Has(const std::string& option) const { return std::count(options.begin(), options.end(), option) != 0; }
};

// The cases of a case file of the source tree, named by its path from the top.
inline std::vector<WriterCase> WriterCases(const std::string& pathInSource) {
    std::vector<WriterCase> cases;
    for (const std::string& line : Lines(ReadSourceFile(pathInSource))) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields = Fields(line);
        for (std::string& field : fields) field = Unescape(field);
        if (fields[0] == "case") {
            cases.push_back({fields.at(1), std::vector<std::string>(fields.begin() + 2, fields.end()), {}, {}});
        } else if (cases.empty()) {
            ADD_FAILURE() << pathInSource << ": a step before the first case: " << line;
        } else if (fields[0] == "expect") {
            cases.back().expect = FromUtf8(fields.at(1));
        } else {
            cases.back().steps.push_back(fields);
        }
    }
    EXPECT_FALSE(cases.empty()) << pathInSource;
    return cases;
}

// Every element name reaches the writer in one string, at the same address each time when it
// fits: a writer that remembered names by address rather than by their characters would
// mistake one name for the one before.
inline void StartElementNamedInPlace(QxXmlLib10::CXmlWriter& w, const std::wstring& name, const std::wstring& uri) {
    static std::wstring place(64, L' ');
    place = name;
    w.StartElement(place, uri);
}

// A name in a string that stays in place and unchanged while the program runs, as the names
// a writer may remember by address are.
inline const std::wstring& DeclaredName(const std::wstring& name) {
    static std::set<std::wstring> names;
    return *names.insert(name).first;
}

// One call; `s` is the step without a "raises" prefix.
inline void RunStep(QxXmlLib10::CXmlWriter& w, const std::vector<std::string>& s) {
    const auto arg = [&](size_t i) { return i < s.size() ? FromUtf8(s[i]) : std::wstring(); };
    const auto text = [&]() -> QxXmlLib10::CXmlTextWriter& { return dynamic_cast<QxXmlLib10::CXmlTextWriter&>(w); };
    const std::string& verb = s[0];
    if (verb == "decl") text().WriteXmlDeclaration();
    else if (verb == "eol") text().SetEOLType(static_cast<QxXmlLib10::EOLType>(std::stoi(s.at(1))));
    else if (verb == "close") text().CloseStartTag();
    else if (verb == "raw") text().WriteRawXml(arg(1));
    else if (verb == "default") w.SetDefaultNamespace(arg(1));
    else if (verb == "ns") w.AddNamespace(arg(1), arg(2));
    else if (verb == "start") StartElementNamedInPlace(w, arg(1), arg(2));
    else if (verb == "end") w.EndElement();
    else if (verb == "value") w.WriteElementValue(arg(2), ItemTypeNamed(s.at(1)));
    else if (verb == "dvalue")
        w.WriteDeclaredValueElement(DeclaredName(arg(1)), DeclaredName(arg(2)), arg(4), ItemTypeNamed(s.at(3)));
    else if (verb == "attr") w.AddAttribute(arg(1), arg(2), arg(4), ItemTypeNamed(s.at(3)));
    else if (verb == "nil") w.AddXsiNilAttribute();
    else if (verb == "xsitype") w.AddXsiTypeAttribute(arg(1), arg(2), QxXmlLib10::ItemType_string);
    else if (verb == "comment") w.WriteComment(arg(1));
    else if (verb == "pi") w.WriteProcessingInstruction(arg(1));
    else if (verb == "schema") w.WriteInlineSchema(arg(1));
    else if (verb == "enddoc") w.EndDocument();
    else ADD_FAILURE() << "unknown step " << verb;
}

// Every step of the case, in order; a "raises" step must throw its message.
inline void RunScript(QxXmlLib10::CXmlWriter& w, const WriterCase& c) {
    for (const std::vector<std::string>& step : c.steps) {
        if (step[0] != "raises") {
            RunStep(w, step);
            continue;
        }
        const std::vector<std::string> call(step.begin() + 2, step.end());
        EXPECT_EQ(FromUtf8(step.at(1)), MessageOf([&] { RunStep(w, call); })) << call[0];
    }
}

}  // namespace qxxml_test
