// PurchaseOrderTest.cpp - the purchase-order sample binding against independent oracles:
// documents made by gen.py at test time are read and written back, and python's
// canonicalisation (tests/common/c14n_compare.py) and xmllint's schema validation judge the result.
#include "PoBinding.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>

#include "common/CaseTable.h"
#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace PoBinding;
using namespace qxxml_test;

const std::string kPoDir = QXXML_PO_DIR;
const std::string kXmllint = QXXML_XMLLINT;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// The example program, or the tool's command, on `input` writing `output`: what it says on
// standard output and standard error; its exit code goes to `status`.
const std::string kExample = Quote(QXXML_PO_EXAMPLE), kTool = Quote(QXXML_TOOL) + " po-roundtrip";
std::string RunProgram(const std::string& program, const std::string& input, const std::string& output, int& status) {
    const std::string said = CommandOutput(program + " " + Quote(input) + " " + Quote(output) + " 2>&1", status);
    status = ExitCode(status);
    return said;
}

// gen.py's document of about 30000 bytes for `seed` (odd seeds: US address and a nil note,
// even seeds: international address and a note text), with its trailing open content, made
// once per test program.
std::string Generated(int seed) {
    const std::string path = TempDir() + "/po-30000-" + std::to_string(seed) + "-any.xml";
    if (!FileExists(path)) PythonScript("examples/purchase_order/gen.py", Quote(path) + " 30000 " + std::to_string(seed));
    return path;
}

// "equal", or "differ: " and the first lines of the difference of the canonical forms; the
// values whose lexical form a writer may change are compared as values.
std::string Compare(const std::string& expected, const std::string& actual) {
    const std::string compared = PythonScript("tests/common/c14n_compare.py",
                                              "--decimal USPrice --double measurement --base64 blob " +
                                                  Quote(expected) + " " + Quote(actual));
    return compared.substr(0, compared.find_last_not_of('\n') + 1);
}

// Empty when the document is valid against po.xsd; otherwise xmllint's complaint. The test
// ends as skipped here when there is no xmllint.
std::string SchemaErrors(const std::string& path) {
    if (kXmllint.empty()) SkipTest("xmllint is not installed: the schema check is left out");
    return SchemaVerdicts(kXmllint, kPoDir + "/po.xsd", {path})[path];
}

// The context a program reading gen.py's documents uses: writing keeps their prefixes.
CXmlSerializationContext PoContext() {
    CXmlSerializationContext context;
    AddPoNamespaceAliases(context);
    return context;
}

// A change made to a generated document: the text between the first `marker` and the next
// `end` becomes `to`; with `end` "-", the marker itself becomes `to`.
std::string Mutated(std::string text, const std::string& marker, const std::string& end, const std::string& to) {
    const size_t at = text.find(marker);
    EXPECT_NE(at, std::string::npos) << "no " << marker << " in the document";
    if (at == std::string::npos) return text;
    if (end == "-") return text.replace(at, marker.size(), to);
    return text.replace(at + marker.size(), text.find(end, at + marker.size()) - at - marker.size(), to);
}

// The document with the changes a program made to it: the order's status, the header's comment
// (which every generated document has).
std::string Changed(const std::string& path, const std::string& status, const std::string& comment) {
    const std::string changed = path + "-" + status + ".xml";
    WriteFile(changed, Mutated(Mutated(ReadFile(path), "status=\"", "\"", status), "<po:comment>", "<", comment));
    return changed;
}

// How many times `needle` occurs in the file: gen.py writes one item per "<po:item ".
size_t CountOf(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
}

class PurchaseOrderRoundTrip : public ::testing::TestWithParam<int> {};

// Read and written back unchanged, a document is the same XML data and still valid; the
// values the binding holds are the document's (the comparison is value by value). (The
// in-memory entry points are the core round trips'.)
TEST_P(PurchaseOrderRoundTrip, WritesBackWhatItRead) {
    const int seed = GetParam();
    const std::string input = Generated(seed);
    const CXmlSerializationContext context = PoContext();
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->FromXmlFile(Widen(input).c_str(), context);
    EXPECT_EQ(static_cast<size_t>(order->GetItems()->GetCount()), CountOf(ReadFile(input), "<po:item "));
    const std::string output = TempDir() + "/roundtrip-" + std::to_string(seed) + ".xml";
    order->ToXmlFile(Widen(output).c_str(), true, true, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    EXPECT_EQ(Compare(input, output), "equal");
    EXPECT_EQ(SchemaErrors(output), "");
}

INSTANTIATE_TEST_SUITE_P(Seeds, PurchaseOrderRoundTrip, ::testing::Values(1, 2, 7));

// Each row of mutations.tsv: a document breaking a facet is read and fails when written, one
// the binding refuses fails when read; either way with the chain of elements down to the value.
// A "tool" row goes through the tool's command, which writes no output and says why.
TEST(PurchaseOrderMutations, FailWithTheChainOfElements) {
    ForEachRow("examples/purchase_order/tests/mutations.tsv", 7, [](const Row& row) {
        const std::string document = ReadFile(Generated(std::stoi(row[2])));
        const std::string text = Mutated(document, row[3], row[4], Unescape(row[5]));
        if (row[0] == "tool") {
            const std::string input = TempDir() + "/" + row[1] + ".xml", output = TempDir() + "/never.xml";
            WriteFile(input, text);
            std::remove(output.c_str());
            int status = 0;
            const std::string said = RunProgram(kTool, input, output, status);
            EXPECT_EQ(status, 1);
            EXPECT_NE(said.find("qxxml po-roundtrip: " + Unescape(row[6]) + "\n"), std::string::npos) << said;
            EXPECT_FALSE(FileExists(output));
            return;
        }
        const CXmlSerializationContext context = PoContext();
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        const auto read = [&] { order->FromXml(text.c_str(), context); };
        if (row[0] == "write") read();
        const std::wstring message = row[0] == "write"
                                         ? FullMessageOf([&] { order->ToXml(true, false, EOLType_LF, context); })
                                         : FullMessageOf(read);
        EXPECT_EQ(message, FromUtf8(Unescape(row[6])));
    });
}

// Every alternative of the address is an optional choice member, and such a member exempts
// its choice from the "one alternative" rule: an empty address is read (and written back
// empty), with no alternative selected. Only the schema validation of the output sees it.
TEST(PurchaseOrderChoice, EmptyAddressIsTakenAsNoAlternative) {
    const std::string text = Mutated(ReadFile(Generated(2)), "<po:address>", "</po:address>", "");
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    order->FromXml(text.c_str(), PoContext());
    CSmartPtr<CAddress> address = order->GetHeader()->GetAddress();
    EXPECT_EQ(address->GetChoiceSelectedElement(), L"");
    EXPECT_TRUE(address->GetUSAddress() == nullptr && address->GetIntlAddress() == nullptr);
    const std::wstring written = order->ToXml(false, false, EOLType_LF, PoContext());
    EXPECT_NE(written.find(L"<po:address/>"), std::wstring::npos);
}

// The example program and the tool's command read, mark shipped and write back; their output
// is the input with exactly that change, and they say what they did.
TEST(PurchaseOrderPrograms, ExampleAndToolMarkTheOrderShipped) {
    const std::string input = Generated(1);
    const std::string items = std::to_string(CountOf(ReadFile(input), "<po:item "));
    const std::string expected = Changed(input, "shipped", "Hurry, my lawn is going wild! (Shipped)");
    int status = 0;

    const std::string exampleOut = TempDir() + "/example-out.xml";
    const std::string example = RunProgram(kExample, input, exampleOut, status);
    ASSERT_EQ(status, 0) << example;
    EXPECT_NE(example.find("PO-00000001: " + items + " items, 1 open elements, status confirmed -> shipped\n"),
              std::string::npos)
        << example;
    EXPECT_EQ(Compare(expected, exampleOut), "equal");
    EXPECT_NE(Compare(input, exampleOut), "equal");  // the comparison sees the change

    const std::string toolOut = TempDir() + "/tool-out.xml";
    const std::string tool = RunProgram(kTool, input, toolOut, status);
    ASSERT_EQ(status, 0) << tool;
    EXPECT_NE(tool.find(input + ": order PO-00000001, " + items +
                        " items and 1 open elements read, status confirmed -> shipped\n" + toolOut + ": " +
                        std::to_string(ReadFile(toolOut).size()) + " bytes written\n"),
              std::string::npos)
        << tool;
    EXPECT_EQ(Compare(expected, toolOut), "equal");
}

}  // namespace
