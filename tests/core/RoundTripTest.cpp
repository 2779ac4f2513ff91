// Documents written from the test binding: well-formed and namespace-correct (python's expat),
// valid against TestBinding.xsd (xmllint), read back into an equal tree that writes the same
// bytes again. Fixed trees, every alternative of the choice, and random trees.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace test_binding {
namespace {

// Every element of the binding is qualified: each line expat reports must name the namespace.
void ExpectWellFormedAndQualified(const std::vector<std::wstring>& documents) {
    const std::vector<CToolRun> runs = ParseWithExpat(documents);
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(runs[i].Succeeded()) << runs[i].output;
        std::istringstream lines(runs[i].output);
        std::string line;
        size_t count = 0;
        while (std::getline(lines, line)) {
            ++count;
            EXPECT_EQ(line.rfind("{urn:qxxml:test:binding}", 0), 0u) << line;
        }
        EXPECT_GT(count, 0u);
    }
}

void ExpectValid(const std::vector<std::wstring>& documents) {
    const std::vector<CToolRun> runs = ValidateWithSchema(documents);
    for (size_t i = 0; i < runs.size(); ++i) EXPECT_TRUE(runs[i].Succeeded()) << i << ": " << runs[i].output;
}

#define SKIP_WITHOUT_XMLLINT()                                                                       \
    if (!HasXmlLint())                                                                               \
    GTEST_SKIP() << "xmllint (Debian package libxml2-utils) is not installed: the documents were " \
                    "not checked against TestBinding.xsd"

// Writes `original`, reads the text into a fresh object, checks that the copy writes the same
// text (the trees are equal) and the same bytes; returns the text.
template <class T>
std::wstring RoundTrip(T& original, const CXmlSerializationContext& context, bool formatted = false) {
    const std::wstring xml = WriteXml(original, context, formatted);
    CSmartPtr<T> copy(new T);
    const std::wstring failure = FullMessageOf([&] { copy->FromXml(xml.c_str(), context); });
    EXPECT_EQ(failure, L"(nothing thrown)") << qxxml_test::ToUtf8(xml);
    EXPECT_EQ(WriteXml(*copy, context, formatted), xml);
    const CBinaryData bytes = original.ToXmlStream(true, formatted, XmlEncoding_UTF8, EOLType_LF, context,
                                                   CompressionType_None);
    const CBinaryData copyBytes =
        copy->ToXmlStream(true, formatted, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    EXPECT_TRUE(bytes == copyBytes);
    return xml;
}

// The ways a context can name the binding's namespace.
struct NamingCase {
    const char* name;
    std::function<void(CXmlSerializationContext&)> setup;
};

const std::vector<NamingCase>& NamingCases() {
    static const std::vector<NamingCase> cases = {
        {"generated prefixes", [](CXmlSerializationContext&) {}},
        {"alias", [](CXmlSerializationContext& c) { c.GetNamespaceAliases().Add(L"tb", kNamespace); }},
        {"default namespace", [](CXmlSerializationContext& c) { c.SetDefaultNamespaceURI(kNamespace); }},
        {"alias for xsi and default namespace",
         [](CXmlSerializationContext& c) {
             c.GetNamespaceAliases().Add(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");
             c.SetDefaultNamespaceURI(kNamespace);
         }},
    };
    return cases;
}

// ---------------------------------------------------------------- fixed trees

TEST(RoundTripTest, FullAndMinimalRootsInEveryNaming) {
    std::vector<std::wstring> documents;
    for (const NamingCase& naming : NamingCases()) {
        SCOPED_TRACE(naming.name);
        CXmlSerializationContext context;
        naming.setup(context);
        CSmartPtr<CRoot> full = MakeFullRoot();
        documents.push_back(RoundTrip(*full, context));
        CSmartPtr<CRoot> minimal = MakeMinimalRoot();
        documents.push_back(RoundTrip(*minimal, context));
        documents.push_back(RoundTrip(*full, context, true));
    }
    ExpectWellFormedAndQualified(documents);
    SKIP_WITHOUT_XMLLINT();
    ExpectValid(documents);
}

TEST(RoundTripTest, EveryAlternativeOfTheChoice) {
    CXmlSerializationContext context;
    std::vector<std::function<void(COptions&)>> alternatives = {
        [](COptions& o) { o.SetFlag(true); },
        [](COptions& o) { o.SetMode(Colour_green); },
        [](COptions& o) { o.SetChild(NewItem(L"child").Get()); },
        [](COptions& o) { o.SetForm(NewSquare(CDecimal(L"1.5")).Get()); },
        [](COptions& o) { o.GetWords()->Add(L"one"), o.GetWords()->Add(L"two"); },
        [](COptions& o) { o.GetHues()->Add(Colour_blue); },
        [](COptions& o) { o.GetParts()->Add(NewItem(L"p1").Get()), o.GetParts()->Add(NewItem(L"p2").Get()); },
        [](COptions& o) { o.GetPieces()->Add(NewCircle(0.25).Get()); },
    };
    std::vector<std::wstring> documents;
    for (size_t i = 0; i < alternatives.size(); ++i) {
        SCOPED_TRACE(i);
        CSmartPtr<CRoot> root = MakeMinimalRoot();
        CSmartPtr<COptions> options(new COptions(L"options"));
        alternatives[i](*options);
        root->SetOptions(options.Get());
        documents.push_back(RoundTrip(*root, context));
        CSmartPtr<COptions> alone(new COptions);  // as the document element "Options"
        alternatives[i](*alone);
        documents.push_back(RoundTrip(*alone, context));
    }
    ExpectWellFormedAndQualified(documents);
    SKIP_WITHOUT_XMLLINT();
    ExpectValid(documents);
}

TEST(RoundTripTest, SingleClassesAsDocuments) {
    CXmlSerializationContext context;
    std::vector<std::wstring> documents;

    CSmartPtr<CStrictChoice> strict(new CStrictChoice);
    strict->GetParts()->Add(NewItem(L"only").Get());
    documents.push_back(RoundTrip(*strict, context));

    CSmartPtr<CBag> bag(new CBag);
    bag->SetAlpha(L"a");
    bag->SetGamma(Colour_red);
    bag->GetInner()->SetLabel(L"in");
    documents.push_back(RoundTrip(*bag, context));

    CSmartPtr<CHolder> holder(new CHolder);  // an empty holder: every member may be left out
    documents.push_back(RoundTrip(*holder, context));

    CSmartPtr<CNilItem> nilItem(new CNilItem);
    nilItem->SetNil(true);
    documents.push_back(RoundTrip(*nilItem, context));

    CSmartPtr<CPrice> price(new CPrice);
    price->SetNil(true);
    price->SetCurrency(L"USD");
    documents.push_back(RoundTrip(*price, context));

    // Abstract members of an all-group are written (and valid), but cannot be read back.
    CSmartPtr<CAbsBag> absBag(new CAbsBag);
    absBag->SetShape(NewCircle(2).Get());
    absBag->SetSpare(NewSquare(CDecimal(3)).Get());
    documents.push_back(WriteXml(*absBag, context));

    ExpectWellFormedAndQualified(documents);
    SKIP_WITHOUT_XMLLINT();
    ExpectValid(documents);
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
    std::wstring Text(int minLength, int maxLength, const std::u32string& alphabet =
                                                        U"abcXYZ019 <>&\"'\t\n\u00e4\u00df\u20ac\U0001D11E") {
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
        const NamingCase& naming = NamingCases()[seed % NamingCases().size()];
        CXmlSerializationContext context;
        naming.setup(context);
        const bool formatted = seed % 3 == 0;
        RandomTree random(seed);
        CSmartPtr<CRoot> root = random.Root();
        documents.push_back(RoundTrip(*root, context, formatted));
    }
    ExpectWellFormedAndQualified(documents);
    SKIP_WITHOUT_XMLLINT();
    ExpectValid(documents);
}

}  // namespace
}  // namespace test_binding
