// The typed collections of primitive, date and time values, from the case table
// typed_collections.tsv beside this file (its opening comment tells the words and steps).
// (Strings with markup, line ends and characters beyond the BMP in a collection are written,
// read back and judged by expat and xmllint in the round trips of tests/core.)
#include "CollectionTestSupport.h"

#include <map>

namespace QxXmlTest {
namespace {

// A date or time of the kind named, for offering collections the kinds they refuse.
CDateTime DateTimeOfKind(const std::string& kind, const std::wstring& text) {
    using Parse = CDateTime (*)(const std::wstring&, W::WhitespaceRule);
    static const std::map<std::string, Parse> parsers = {
        {"date", &CConversions::dateFromString},         {"dateTime", &CConversions::datetimeFromString},
        {"time", &CConversions::timeFromString},         {"gYearMonth", &CConversions::yearMonthFromString},
        {"gMonthDay", &CConversions::monthDayFromString}};
    return parsers.at(kind)(text, W::WhitespaceRule_Collapse);
}

// A collection made from setup words (see above).
template <class Collection>
Exposed<Collection>* Make(const CaseWords& s, const std::wstring& name) {
    const std::wstring texts[] = {s.Wide("ns"),           s.Wide("pattern"),      s.Wide("minInclusive"),
                                  s.Wide("maxInclusive"), s.Wide("minExclusive"), s.Wide("maxExclusive"),
                                  s.Wide("format")};
    const auto text = [&](int i, const char* key) { return s.Has(key) ? texts[i].c_str() : nullptr; };
    return new Exposed<Collection>(name.c_str(), texts[0].c_str(), s.Number("min", 0), s.Number("max", -1),
                                   text(1, "pattern"), s.Number("minLength", -1), s.Number("maxLength", -1),
                                   text(2, "minInclusive"), text(3, "maxInclusive"), text(4, "minExclusive"),
                                   text(5, "maxExclusive"), s.Number("length", -1), WhitespaceRuleNamed(s.Get("rule")),
                                   text(6, "format"));
}

template <class Collection>
class Driver {
public:
    using Value = std::decay_t<decltype(std::declval<const Collection&>().Item(0))>;

    explicit Driver(const CaseWords& setup) : m_setup(setup) { m_current = m_col = Make<Collection>(m_setup, m_setup.Wide("name", "n")); }
    ~Driver() {
        for (auto* col : {m_col.Get(), m_first.Get()})
            if (col) col->RemoveEventListener(&m_sink);
    }

    std::string Run(const std::string& script, const std::wstring& document) {
        const std::string said =
            RunSteps(script, [&](const std::string& op, const std::string& arg) { return Step(op, arg, document); });
        const std::string first = m_first ? " first=[" + ToUtf8(Items(*m_first)) + "]" : "";
        std::string outcome = said + "= [" + ToUtf8(Items(*m_col)) + "]" + first + m_events;
        for (size_t tab; (tab = outcome.find('\t')) != std::string::npos;) outcome.replace(tab, 1, "\\t");
        return outcome;
    }

private:
    Value Parse(const std::string& text) const {
        if constexpr (std::is_same_v<Value, CDateTime>) {
            const size_t at = text.find('@');
            if (at != std::string::npos) return DateTimeOfKind(text.substr(0, at), Spaced(text.substr(at + 1)));
        }
        CSmartPtr<Exposed<Collection>> scratch(Make<Collection>(CaseWords("rule=none"), L"v"));
        scratch->AddFromString(Spaced(text));
        return scratch->Item(0);
    }

    std::wstring Items(const Exposed<Collection>& col) const {
        std::wstring items;
        for (const Value& item : col) items += (items.empty() ? L"" : L" ") + col.ItemToString(item);
        return items;
    }

    std::string Step(const std::string& op, const std::string& arg, const std::wstring& document) {
        if (op == "listen") m_col->AddEventListener(&m_sink);
        if (op == "add") m_col->Add(Parse(arg));
        if (op == "at") m_col->AddAt(std::stoi(arg), Parse(arg.substr(arg.find(':') + 1)));
        if (op == "remove") m_col->Remove(std::stoi(arg));
        if (op == "item") return ToUtf8(m_col->ItemToString(m_col->Item(std::stoi(arg))));
        if (op == "clear") m_col->Clear();
        if (op == "validate") m_col->ValidateCount(m_context);
        if (op == "valid?") return m_col->IsValidCount(m_context) ? "yes" : "no";
        if (op == "lenient" || op == "strict") m_context.SetIgnoreInvalidCollectionCounts(op == "lenient");
        if (op == "ignore-ns") m_context.SetIgnoreNamespaces(true);
        if (op == "write") {
            std::string types;
            const std::string text = ToUtf8(WriteInRoot(m_col.Get(), m_context, &types));
            return text + (types.empty() ? "" : " types=" + types);
        }
        if (op == "read") return "stop " + ToUtf8(ReadFromRoot(m_col.Get(), document, m_context));
        if (op == "null-read") {
            CXmlDocument empty;
            empty.LoadXml(L"<r/>");
            return Forward::FromXml_Int(m_col.Get(), empty.GetDocumentElement(), nullptr, m_context) ? "stop?" : "";
        }
        if (op == "roundtrip") {
            CSmartPtr<Exposed<Collection>> back(Make<Collection>(m_setup, m_setup.Wide("name", "n")));
            ReadFromRoot(back.Get(), WriteInRoot(m_col.Get(), m_context), m_context);
            return Items(*back) == Items(*m_col) ? "" : "[" + ToUtf8(Items(*back)) + "]";
        }
        if (op == "copy" || op == "assign") {
            m_first = m_col;
            m_current = m_col = op == "copy" ? new Exposed<Collection>(*m_first) : Make<Collection>(m_setup, L"other");
            if (op == "assign") *m_col = *m_first;
        }
        return "";
    }

    const CaseWords m_setup;
    std::string m_events;
    CXmlObjectBase* m_current = nullptr;
    CTaggedSink m_sink{"", &m_events,
                       [this](void* value) { return ToUtf8(m_col->ItemToString(*static_cast<const Value*>(value))); },
                       false, &m_current};
    CSmartPtr<Exposed<Collection>> m_col, m_first;
    CXmlSerializationContext m_context;
};

template <class Collection>
std::string Drive(const CaseWords& setup, const std::string& script, const std::wstring& document) {
    return Driver<Collection>(setup).Run(script, document);
}

TEST(TypedCollectionTest, EveryRowOfTheTable) {
    using Maker = std::string (*)(const CaseWords&, const std::string&, const std::wstring&);
#define QXXML_KIND(Collection) {#Collection, &Drive<Collection>}
    static const std::map<std::string, Maker> kinds = {
        QXXML_KIND(ChexBinaryCol), QXXML_KIND(Cbase64BinaryCol), QXXML_KIND(Ci1Col),       QXXML_KIND(Ci2Col),
        QXXML_KIND(Ci4Col),        QXXML_KIND(Ci8Col),           QXXML_KIND(Cui1Col),      QXXML_KIND(Cui2Col),
        QXXML_KIND(Cui4Col),       QXXML_KIND(Cui8Col),          QXXML_KIND(Cr4Col),       QXXML_KIND(Cr8Col),
        QXXML_KIND(CdurationCol),  QXXML_KIND(CyearCol),         QXXML_KIND(CmonthCol),    QXXML_KIND(CdayCol),
        QXXML_KIND(CstringCol),    QXXML_KIND(CbooleanCol),      QXXML_KIND(CdecimalCol),  QXXML_KIND(CintegerCol),
        QXXML_KIND(CdateCol),      QXXML_KIND(CdatetimeCol),     QXXML_KIND(CtimeCol),     QXXML_KIND(CyearMonthCol),
        QXXML_KIND(CmonthDayCol)};
#undef QXXML_KIND
    ForEachRow("tests/collections/typed_collections.tsv", 5, [&](const Row& f) {
        for (const std::string& kind : Words(f[0])) {
            const auto maker = kinds.find(kind);
            ASSERT_NE(maker, kinds.end()) << kind;
            EXPECT_EQ(maker->second(CaseWords(f[1]), f[2], FromUtf8(f[3])), f[4]) << kind;
        }
    });
}

}  // namespace
}  // namespace QxXmlTest
