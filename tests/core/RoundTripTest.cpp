// Documents written from the test binding: well-formed and namespace-correct (python's expat),
// valid against TestBinding.xsd (xmllint), read back into a tree that writes the same text
// and bytes again. Fixed trees in every naming, the documents of data/round_trip_documents.tsv,
// encodings and compression, and random trees.
#include <gtest/gtest.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/BindingSupport.h"
#include "core/CaseTable.h"
#include "xmlout/PythonOracle.h"

namespace test_binding {
namespace {

// Well-formed and namespace-correct, every element in the binding's namespace (python's
// expat); valid against the schema (xmllint).
void ExpectGoodDocuments(const std::vector<std::wstring>& documents) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::wstring& document : documents) {
        files.emplace_back(qxxml_test::TempPath("round-trip" + std::to_string(files.size()) + ".xml"), "UTF-8");
        qxxml_test::WriteFile(files.back().first, qxxml_test::ToUtf8(document));
    }
    const std::vector<std::string> events = qxxml_test::ExpatEventsOfFiles(files);
    for (size_t i = 0; i < events.size(); ++i) {
        // Open holds content of any namespace in its wildcards.
        const bool open = events[i].rfind("E \"{urn:qxxml:test:binding}Open\"", 0) == 0;
        size_t elements = 0;
        for (const std::string& line : qxxml_test::Lines(events[i])) {
            EXPECT_EQ(line.rfind("ERROR", 0), std::string::npos) << i << ": " << line;
            if (line.rfind("E ", 0) != 0 || (open && elements > 0)) continue;
            ++elements;
            EXPECT_EQ(line.rfind("E \"{urn:qxxml:test:binding}", 0), 0u) << i << ": " << line;
        }
        EXPECT_GT(elements, 0u) << i;
        std::remove(files[i].first.c_str());
    }
    if (!HasXmlLint())
        GTEST_SKIP() << "xmllint (Debian package libxml2-utils) is not installed: the documents were not checked "
                        "against TestBinding.xsd";
    const std::vector<CToolRun> runs = ValidateWithSchema(documents);
    for (size_t i = 0; i < runs.size(); ++i) EXPECT_TRUE(runs[i].Succeeded()) << i << ": " << runs[i].output;
}

// Writes `original`, reads the text into a fresh object of its class, checks that the copy
// writes the same text (the trees are equal) and the same bytes; returns the text.
std::wstring RoundTrip(CXmlGeneratedClass& original, const CXmlSerializationContext& context, bool formatted = false) {
    const std::wstring xml = WriteXml(original, context, formatted);
    CSmartPtr<CXmlGeneratedClass> copy =
        CreateDocumentElement(kNamespace, original.GetClassInfo()->GetElementName().c_str());
    EXPECT_EQ(FullMessageOf([&] { copy->FromXml(xml.c_str(), context); }), L"(nothing thrown)")
        << qxxml_test::ToUtf8(xml);
    EXPECT_EQ(WriteXml(*copy, context, formatted), xml);
    const auto bytes = [&](CXmlObjectBase& object) {
        return object.ToXmlStream(true, formatted, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    };
    EXPECT_TRUE(bytes(original) == bytes(*copy));
    return xml;
}

// The ways a context can name the binding's namespace.
const std::vector<std::function<void(CXmlSerializationContext&)>> kNamings = {
    [](CXmlSerializationContext&) {},  // generated prefixes
    [](CXmlSerializationContext& c) { c.GetNamespaceAliases().Add(L"tb", kNamespace); },
    [](CXmlSerializationContext& c) { c.SetDefaultNamespaceURI(kNamespace); },
    [](CXmlSerializationContext& c) {
        c.GetNamespaceAliases().Add(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");
        c.SetDefaultNamespaceURI(kNamespace);
    },
};

// ---------------------------------------------------------------- fixed trees

TEST(RoundTripTest, FixedTreesInEveryNaming) {
    std::vector<std::pair<std::string, std::wstring>> rows;
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("round_trip_documents.tsv", 2))
        rows.emplace_back(row.fields[0], qxxml_test::FromUtf8(row.fields[1]));
    ASSERT_GT(rows.size(), 10u);
    std::vector<std::wstring> documents, written;
    for (size_t naming = 0; naming < kNamings.size(); ++naming) {
        SCOPED_TRACE(naming);
        CXmlSerializationContext context;
        kNamings[naming](context);
        CSmartPtr<CRoot> full = MakeFullRoot();
        EXPECT_EQ(full->GetEntries()->Item(2)->GetLabel(), L"e3");  // found from the collection's end
        documents.push_back(RoundTrip(*full, context));
        documents.push_back(RoundTrip(*full, context, true));
        documents.push_back(RoundTrip(*MakeMinimalRoot(), context));
        for (const auto& row : rows) {
            // An element of no namespace (Open's ##local content) is written unprefixed, which
            // a default namespace would claim.
            if (row.first == "Open" && !context.GetDefaultNamespaceURI().empty()) continue;
            SCOPED_TRACE(qxxml_test::ToUtf8(row.second));
            CSmartPtr<CXmlGeneratedClass> object =
                CreateDocumentElement(kNamespace, qxxml_test::Widen(row.first).c_str());
            object->FromXml(row.second.c_str(), CXmlSerializationContext());
            documents.push_back(RoundTrip(*object, context));
            if (naming == 0) written.push_back(documents.back());
        }
    }
    // What was read is what is written (Canonical XML, prefixes aside, so not where xsi:type
    // names a type by prefix); the inputs are valid too.
    std::vector<std::wstring> inputs, outputs;
    for (size_t i = 0; i < rows.size(); ++i) {
        documents.push_back(rows[i].second);
        if (rows[i].second.find(L"xsi:type") != std::wstring::npos) continue;
        inputs.push_back(rows[i].second);
        outputs.push_back(written[i]);
    }
    const std::vector<CToolRun> compared = CompareCanonical(inputs, outputs);
    for (size_t i = 0; i < compared.size(); ++i)
        EXPECT_TRUE(compared[i].Succeeded()) << qxxml_test::ToUtf8(inputs[i]) << "\n" << compared[i].output;
    // Abstract members of an all-group are written (and valid), but cannot be read back.
    CSmartPtr<CAbsBag> absBag(new CAbsBag);
    absBag->SetShape(NewCircle(2).Get());
    absBag->SetSpare(NewSquare(CDecimal(3)).Get());
    documents.push_back(WriteXml(*absBag, CXmlSerializationContext()));
    ExpectGoodDocuments(documents);
}

TEST(RoundTripTest, ByteEncodingsAndCompressionReadBack) {
    CXmlSerializationContext context;
    CSmartPtr<CRoot> root = MakeFullRoot();
    for (XmlEncoding encoding : {XmlEncoding_UTF8, XmlEncoding_UTF16, XmlEncoding_UTF16NoDeclaration}) {
        for (CompressionType compression : {CompressionType_None, CompressionType_GZip, CompressionType_ZLib}) {
            SCOPED_TRACE(static_cast<int>(encoding) * 10 + static_cast<int>(compression));
            const CBinaryData bytes = root->ToXmlStream(true, false, encoding, EOLType_LF, context, compression);
            CSmartPtr<CRoot> copy(new CRoot);
            copy->FromXmlStream(bytes, context);
            EXPECT_EQ(WriteXml(*copy, context), WriteXml(*root, context));
        }
    }
}

// ---------------------------------------------------------------- random trees

class RandomTree {
public:
    explicit RandomTree(unsigned seed) : m_random(seed) {}

    CSmartPtr<CRoot> Root() {
        CSmartPtr<CRoot> root(new CRoot);
        root->SetId(Int(-1000, 1000));
        if (Chance()) root->SetStatus(static_cast<Status>(Int(0, 1)));
        if (Chance()) root->SetVersion(Decimal());
        root->SetName(Text(1, 20));
        if (Chance()) root->SetCount(Int(0, 100000));
        root->SetColour(Colour());
        if (Chance()) root->SetShade(Colour());
        FillItem(*root->GetItem());
        if (Chance()) {
            CSmartPtr<CSpecialItem> extra(new CSpecialItem);
            FillItem(*extra);
            if (Chance()) extra->SetBonus(Decimal());
            root->SetExtra(extra.Get());
        }
        root->SetShape(Shape().Get());
        if (Chance()) root->SetSpare(Shape().Get());
        for (int i = Int(0, 4); i > 0; --i) root->GetTags()->Add(Text(0, 12));
        for (int i = Int(0, 3); i > 0; --i) root->GetLevels()->Add(Int(0, 2));
        for (int i = Int(0, 3); i > 0; --i) FillItem(*root->GetEntries()->Add(new CItem(L"entry")));
        for (int i = Int(0, 3); i > 0; --i) root->GetFigures()->Add(Shape().Get());
        root->GetAddress()->SetStreet(Text(0, 10));
        if (Chance()) root->GetAddress()->SetCity(Text(0, 10));
        if (Chance()) {
            CSmartPtr<CContactGroup> contact(new CContactGroup);
            if (Chance())
                contact->SetEmail(Text(0, 10));
            else
                contact->SetPhone(Text(0, 10));
            root->SetContact(contact.Get());
        }
        if (Chance()) {
            CSmartPtr<CExtrasGroup> extras(new CExtrasGroup);
            extras->SetHint(Text(0, 8));
            if (Chance()) extras->SetMemo(Text(0, 8));
            root->SetExtras(extras.Get());
        }
        switch (Int(0, 2)) {
            case 1: root->SetNote(Text(0, 10)); break;
            case 2: root->SetNoteNil(); break;
            default: break;
        }
        if (Chance()) {
            CSmartPtr<CNilItem> nilItem(new CNilItem(L"nilItem"));
            nilItem->SetValue(Text(0, 6));
            if (Chance()) nilItem->SetRef(AttributeText());
            nilItem->SetNil(Chance());
            root->SetNilItem(nilItem.Get());
        }
        if (Chance()) {
            CSmartPtr<CPrice> price(new CPrice(L"price"));
            if (Chance())
                price->SetText(Decimal());
            else
                price->SetNil(true);
            if (Chance()) price->SetCurrency(AttributeText());
            root->SetPrice(price.Get());
        }
        if (Chance()) root->SetOptions(Options().Get());
        if (Chance()) root->SetBag(Bag().Get());
        if (Chance()) root->SetHolder(Holder().Get());
        if (Chance()) {
            CSmartPtr<CStrictChoice> strict(new CStrictChoice(L"strict"));
            if (Chance())
                for (int i = Int(1, 3); i > 0; --i) strict->GetWords()->Add(Text(0, 5));
            else
                for (int i = Int(1, 2); i > 0; --i) FillItem(*strict->GetParts()->Add(new CItem(L"part")));
            root->SetStrict(strict.Get());
        }
        return root;
    }

private:
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    TbBinding::Colour Colour() { return static_cast<TbBinding::Colour>(Int(0, 2)); }
    bool Chance() { return Int(0, 1) == 1; }

    // Element text: markup characters, quotes, spaces, a tab and a line feed, letters outside
    // ASCII and outside the basic plane. Attribute text has no tab or line feed, which
    // attribute-value normalisation would change.
    // Lengths count UTF-16 units: a character outside the basic plane is two of them, as it
    // is two wide units for the schema's length facets on Windows; one that would not fit
    // becomes the alphabet's first. The same seed gives the same text on every platform.
    std::wstring Text(int minLength, int maxLength,
                      const std::u32string& alphabet = U"abcXYZ019 <>&\"'\t\n\u00e4\u00df\u20ac\U0001D11E") {
        std::wstring text;
        const int length = Int(minLength, maxLength);
        for (int units = 0; units < length;) {
            char32_t ch = alphabet[static_cast<size_t>(Int(0, static_cast<int>(alphabet.size()) - 1))];
            if (ch > 0xFFFF && units + 2 > length) ch = alphabet[0];
            units += ch > 0xFFFF ? 2 : 1;
            qxxml_test::AppendCodePoint(text, ch);
        }
        return text;
    }
    std::wstring AttributeText() { return Text(0, 8, U"abc 09<>&\"'\u00e9\U0001F600"); }
    CDecimal Decimal() {
        std::wstring text = std::to_wstring(Int(-99999, 99999));
        if (Chance()) text += L"." + std::to_wstring(Int(0, 999));
        return CDecimal(text.c_str());
    }
    template <class T>  // CItem or CPart
    void FillItem(T& item) {
        item.SetLabel(Text(0, 8));
        if (Chance()) item.SetQty(Int(0, 500));
        if (Chance()) item.SetCode(AttributeText());
    }
    CSmartPtr<CShape> Shape() {
        CSmartPtr<CShape> shape;
        if (Chance())
            shape = NewCircle(Int(-40, 40) * 0.125).Get();
        else
            shape = NewSquare(Decimal()).Get();
        if (Chance()) shape->SetLabel(Text(0, 6));
        return shape;
    }
    CSmartPtr<COptions> Options() {
        CSmartPtr<COptions> options(new COptions(L"options"));
        switch (Int(0, 7)) {
            case 0: options->SetFlag(Chance()); break;
            case 1: options->SetMode(Colour()); break;
            case 2: {
                CSmartPtr<CItem> child(new CItem);
                FillItem(*child);
                options->SetChild(child.Get());
                break;
            }
            case 3: options->SetForm(Shape().Get()); break;
            case 4:
                for (int i = Int(1, 3); i > 0; --i) options->GetWords()->Add(Text(0, 5));
                break;
            case 5:
                for (int i = Int(1, 3); i > 0; --i) options->GetHues()->Add(Colour());
                break;
            case 6:
                for (int i = Int(1, 3); i > 0; --i) FillItem(*options->GetParts()->Add(new CItem(L"part")));
                break;
            default:
                for (int i = Int(1, 3); i > 0; --i) options->GetPieces()->Add(Shape().Get());
                break;
        }
        return options;
    }
    CSmartPtr<CBag> Bag() {
        CSmartPtr<CBag> bag(new CBag(L"bag"));
        bag->SetAlpha(Text(0, 6));
        if (Chance()) bag->SetBeta(Int(-5, 5));
        bag->SetGamma(Colour());
        if (Chance()) bag->SetDelta(Colour());
        FillItem(*bag->GetInner());
        if (Chance()) {
            CSmartPtr<CPart> outer(new CPart(L"outer"));
            FillItem(*outer);
            bag->SetOuter(outer.Get());
        }
        return bag;
    }
    CSmartPtr<CHolder> Holder() {
        CSmartPtr<CHolder> holder(new CHolder(L"holder"));
        if (Chance()) holder->SetTitle(Text(0, 6));
        if (Chance()) holder->SetOwn(AttributeText());
        if (Chance()) holder->GetFlags()->SetFlagValue(Int(-9, 9));
        if (Chance()) holder->SetMark(AttributeText());
        for (int i = Int(0, 3); i > 0; --i) holder->GetPair()->Add(NewPair(Text(0, 4), Int(-9, 9)).Get());
        return holder;
    }

    std::mt19937 m_random;
};

TEST(RoundTripTest, RandomTrees) {
    std::vector<std::wstring> documents;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        CXmlSerializationContext context;
        kNamings[seed % kNamings.size()](context);
        documents.push_back(RoundTrip(*RandomTree(seed).Root(), context, seed % 3 == 0));
    }
    ExpectGoodDocuments(documents);
}

}  // namespace
}  // namespace test_binding
