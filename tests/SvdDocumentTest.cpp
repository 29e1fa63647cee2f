// SPDX-License-Identifier: MIT
// The SVD document as the expansion reads it: the elements of the names the
// loader knows, gathered once from pugixml's document in file order, with
// their texts as SvdText gives them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "bits/TextChars.h"
#include "defs/SvdDocument.h"
#include "defs/SvdElement.h"
#include "tests/ExampleFiles.h"

namespace {

constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_embed_pcdata;

struct Parsed {
    pugi::xml_document xml;
    explicit Parsed(const std::string& text) {
        EXPECT_TRUE(xml.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8)) << text;
    }
    pugi::xml_node Device() const { return xml.document_element(); }
};

// The gathered elements below `element` as text: "tag{child,child}" for an
// element read for its children (with "<derivedFrom" when it has one), and
// tag="text" for one read for its text.
std::string Outline(const SvdDocument& document, SvdIndex element) {
    std::string out = document.Node(element).name();
    if (document.Children(element).empty() && !document.Text(element).empty())
        return out + "=\"" + std::string(document.Text(element)) + '"';
    if (!document.DerivedFrom(element).empty()) out += "<" + std::string(document.DerivedFrom(element));
    if (document.Children(element).empty()) return out;
    const char* separator = "{";
    for (const SvdIndex child : document.Children(element)) {
        out += separator + Outline(document, child);
        separator = ",";
    }
    return out + '}';
}

TEST(SvdDocument, KnowsExactlyTheNamesTheLoaderReads) {
    const char* known[] = {"name", "description", "dim", "dimIncrement", "dimIndex", "addressOffset", "baseAddress",
                           "size", "access", "resetValue", "bitOffset", "bitWidth", "lsb", "msb", "bitRange",
                           "readAction", "modifiedWriteValues", "usage", "value", "isDefault", "alternateGroup",
                           "device", "peripherals", "peripheral", "registers", "cluster", "register", "fields", "field",
                           "enumeratedValues", "enumeratedValue"};
    // In the order of SvdTag, after Other.
    for (size_t i = 0; i < std::size(known); ++i)
        EXPECT_EQ(SvdTagOf(known[i]), static_cast<SvdTag>(i + 1)) << known[i];
    // Names as long as known ones, or differing in case, a letter or a prefix, are not known.
    for (const char* other : {"", "Name", "nAme", "names", "nam", "regiSter", "rrgister", "enumeratedvalue",
                              "enumeratedValuez", "svd:register", "cpu", "addressBlock", "resetMask", "dimName", "xyz",
                              "alternateRegister", "alternategroup",
                              "modifiedWriteValue"})
        EXPECT_EQ(SvdTagOf(other), SvdTag::Other) << '"' << other << '"';
}

TEST(SvdDocument, GathersTheElementsReadWithTheirTexts) {
    const struct {
        const char* rule;
        std::string svd;
        std::string outline;
    } cases[] = {
        {"elements of other names are left out with everything below them",
         "<device><cpu><name>CM4</name></cpu><name>D</name><peripherals><peripheral><name>P</name>"
         "<addressBlock><size>4</size></addressBlock><interrupt><name>IRQ</name><value>3</value></interrupt>"
         "<baseAddress>0x10</baseAddress></peripheral></peripherals></device>",
         "device{name=\"D\",peripherals{peripheral{name=\"P\",baseAddress=\"0x10\"}}}"},
        {"texts trimmed, escapes and CDATA read, an element's first text when it holds more",
         "<device><name>\n  A &amp; B \t</name><description><![CDATA[ x<y ]]></description>"
         "<size><!-- a comment -->8</size><access>read<x/>only</access><resetValue/></device>",
         "device{name=\"A & B\",description=\"x<y\",size=\"8\",access=\"read\",resetValue}"},
        {"children of elements read for their text are not gathered; nor is a device below the device",
         "<device><name><field><name>F</name></field></name><device><name>INNER</name></device></device>",
         "device{name}"},
        {"derivedFrom trimmed, and none when it is blank",
         "<device><peripherals><peripheral derivedFrom=\" A \"><name>B</name></peripheral>"
         "<peripheral derivedFrom=\"  \" other=\"1\"><name>C</name></peripheral></peripherals></device>",
         "device{peripherals{peripheral<A{name=\"B\"},peripheral{name=\"C\"}}}"},
        {"registers, clusters, fields and named values in file order",
         "<device><peripherals><peripheral><registers><cluster><name>C</name><register><name>R</name>"
         "<fields><field><name>F</name><enumeratedValues><enumeratedValue><name>ON</name><value>1</value>"
         "<isDefault>false</isDefault></enumeratedValue></enumeratedValues></field></fields></register>"
         "</cluster><register><name>S</name></register></registers></peripheral></peripherals></device>",
         "device{peripherals{peripheral{registers{cluster{name=\"C\",register{name=\"R\",fields{field{name=\"F\","
         "enumeratedValues{enumeratedValue{name=\"ON\",value=\"1\",isDefault=\"false\"}}}}}},"
         "register{name=\"S\"}}}}}"},
    };
    for (const auto& c : cases) {
        const Parsed parsed(c.svd);
        const SvdDocument document(parsed.Device());
        EXPECT_EQ(Outline(document, SvdDocument::kDevice), c.outline) << c.rule;
    }
}

TEST(SvdDocument, FindsChildrenSiblingsAndParents) {
    const Parsed parsed(
        "<device><peripherals><peripheral><name>P</name><registers><register><name>R</name><fields>"
        "<field><name>F</name><enumeratedValues><usage>read</usage></enumeratedValues><description>d</description>"
        "<enumeratedValues><name>SECOND</name></enumeratedValues><x/><enumeratedValues/></field>"
        "</fields></register></registers></peripheral></peripherals></device>");
    const SvdDocument document(parsed.Device());
    const SvdIndex peripheral = document.Child(document.Child(SvdDocument::kDevice, SvdTag::Peripherals), SvdTag::Peripheral);
    const SvdIndex reg = document.Child(document.Child(peripheral, SvdTag::Registers), SvdTag::Register);
    const SvdIndex field = document.Child(document.Child(reg, SvdTag::Fields), SvdTag::Field);
    ASSERT_NE(field, 0u);
    EXPECT_EQ(document.ChildText(field, SvdTag::Name), "F");
    EXPECT_EQ(document.Parent(document.Parent(field)), reg);  // through <fields>
    EXPECT_EQ(document.Parent(document.Parent(reg)), peripheral);  // through <registers>
    const SvdIndex first = document.Child(field, SvdTag::EnumeratedValues);
    EXPECT_EQ(document.ChildText(first, SvdTag::Usage), "read");
    const SvdIndex second = document.NextSibling(first);
    EXPECT_EQ(document.ChildText(second, SvdTag::Name), "SECOND");
    const SvdIndex third = document.NextSibling(second);
    ASSERT_NE(third, 0u);
    EXPECT_TRUE(document.Children(third).empty());
    EXPECT_EQ(document.NextSibling(third), 0u);
    EXPECT_EQ(document.Parent(third), field);
    // The places in the text are pugixml's.
    EXPECT_EQ(document.Node(field), parsed.Device().first_element_by_path("peripherals/peripheral/registers/register/fields/field"));
    // The null element stands for "none": no text, no children, no parent.
    EXPECT_EQ(document.Tag(0), SvdTag::Other);
    EXPECT_FALSE(document.Node(0));
    EXPECT_EQ(document.Text(0), "");
    EXPECT_TRUE(document.Children(0).empty());
    EXPECT_EQ(document.Parent(0), 0u);
    EXPECT_EQ(document.Child(0, SvdTag::Name), 0u);
    EXPECT_EQ(document.NextSibling(0), 0u);
    EXPECT_EQ(document.Parent(SvdDocument::kDevice), 0u);
    EXPECT_EQ(document.Child(field, SvdTag::Size), 0u);
}

// The gathering is not recursive: a file nesting clusters far deeper than the
// expansion follows them is gathered whole without taking the stack.
TEST(SvdDocument, DeepNestingIsGatheredWithoutRecursion) {
    constexpr int kDepth = 200'000;
    std::string svd = "<device><peripherals><peripheral><registers>";
    for (int i = 0; i < kDepth; ++i) svd += "<cluster><name>C</name>";
    for (int i = 0; i < kDepth; ++i) svd += "</cluster>";
    svd += "</registers></peripheral></peripherals></device>";
    const Parsed parsed(svd);
    const SvdDocument document(parsed.Device());
    EXPECT_EQ(document.Size(), size_t{1} + 4 + 2 * kDepth);  // the null element, device to registers, clusters and names
    SvdIndex deepest = 0;
    for (SvdIndex i = 1; i < document.Size(); ++i)
        if (document.Tag(i) == SvdTag::Cluster) deepest = i;
    int depth = 0;
    for (SvdIndex at = deepest; document.Tag(at) == SvdTag::Cluster; at = document.Parent(at)) ++depth;
    EXPECT_EQ(depth, kDepth);
}

// Against pugixml walked directly, for the example files: every element of
// a known name below an element read for its children is gathered, in file
// order, and every text is SvdText's.
TEST(SvdDocument, TheExampleFilesAreGatheredAsPugixmlHasThem) {
    for (const char* name : {"chip.svd", "netduinoplus2.svd"}) {
        const std::string text = ReadExampleFile(name);
        ASSERT_FALSE(text.empty()) << name;
        const Parsed parsed(text);
        const SvdDocument document(parsed.Device());
        size_t seen = 1;
        std::function<void(SvdIndex)> check = [&](SvdIndex element) {
            const pugi::xml_node node = document.Node(element);
            ++seen;
            if (document.Tag(element) < SvdTag::Device) {
                EXPECT_EQ(document.Text(element), SvdText(node)) << name << ": " << node.name();
                return;
            }
            std::vector<SvdIndex> children;
            for (const SvdIndex child : document.Children(element)) children.push_back(child);
            size_t next = 0;
            for (pugi::xml_node expected = node.first_child(); expected; expected = expected.next_sibling()) {
                const SvdTag tag = SvdTagOf(expected.name());
                if (expected.type() != pugi::node_element || tag == SvdTag::Other || tag == SvdTag::Device) continue;
                ASSERT_LT(next, children.size()) << name << ": " << expected.name();
                const SvdIndex child = children[next++];
                EXPECT_EQ(document.Node(child), expected);
                EXPECT_EQ(document.Tag(child), tag);
                EXPECT_EQ(document.Parent(child), tag >= SvdTag::Device ? element : 0u);
                check(child);
            }
            EXPECT_EQ(next, children.size()) << name << ": " << node.name();
        };
        check(SvdDocument::kDevice);
        EXPECT_EQ(seen, document.Size()) << name;
    }
}

// A description's text is read once for its ends and whether it is one line:
// the answer is SvdIsOneLine's, whatever the white space, escapes or CDATA.
TEST(SvdDocument, DescriptionsKnowWhetherTheyAreOneLine) {
    const char* descriptions[] = {
        "", "word", "two words", " lead", "trail ", "\n  wrapped\n", "two  spaces", "tab\tinside", "a \n b",
        "a&#10;b", "a&#32;&#32;b", "a &#9;", "ends  ", "  ", "\x01 control \x1f", "caf\xc3\xa9  au lait",
        "caf\xc3\xa9 au lait", "x\ry", "<![CDATA[ one line ]]>", "<![CDATA[two\nlines]]>", "a <b/> b",
        "<!-- note -->one", "a&#13;", "\v", "last\f",
    };
    std::string svd = "<device>";
    for (const char* text : descriptions) svd += std::string("<description>") + text + "</description>";
    svd += "<name>not  a description</name></device>";
    const Parsed parsed(svd);
    const SvdDocument document(parsed.Device());
    size_t count = 0;
    for (const SvdIndex at : document.Children(SvdDocument::kDevice)) {
        ++count;
        const std::string_view text = document.Text(at);
        EXPECT_EQ(text, SvdText(document.Node(at)));
        if (document.Tag(at) == SvdTag::Description) {
            EXPECT_EQ(document.IsOneLine(at), SvdIsOneLine(text)) << '"' << text << '"';
        }
    }
    EXPECT_EQ(count, std::size(descriptions) + 1);
    EXPECT_TRUE(document.IsOneLine(0));
}

TEST(SvdText, DescriptionsMadeOneLine) {
    const struct {
        const char* text;
        const char* line;
        bool oneLineAlready;
    } cases[] = {
        {"", "", true},
        {"word", "word", true},
        {"two words", "two words", true},
        {"two  spaces", "two spaces", false},
        {" lead", "lead", false},
        {"trail ", "trail", false},
        {"tab\there", "tab here", false},
        {"wrapped\n      over\r\n  lines\n", "wrapped over lines", false},
        {"   \n\t ", "", false},
        {"form\ffeed\vand tab", "form feed and tab", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SvdOneLine(c.text), c.line) << '"' << c.text << '"';
        const std::string_view text = c.text;
        std::string out(text.size() + 4, '#');
        const size_t length = SvdOneLineInto(text, out.data());
        EXPECT_EQ(out.substr(0, length), c.line) << '"' << c.text << '"';
        EXPECT_EQ(out.substr(text.size()), "####") << "wrote beyond the text's length: \"" << c.text << '"';
        EXPECT_EQ(SvdIsOneLine(text), c.oneLineAlready) << '"' << c.text << '"';
    }
}

// Long texts are checked 16 bytes at a time: a break anywhere, at every
// length, is found as the rule a byte at a time finds it.
TEST(SvdText, OneLineAtEveryPlaceOfLongTexts) {
    const auto byTheRule = [](std::string_view text) {
        if (text.empty()) return true;
        if (IsAsciiSpace(text.front()) || IsAsciiSpace(text.back())) return false;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] >= '\t' && text[i] <= '\r') return false;
            if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ') return false;
        }
        return true;
    };
    const char* marks[] = {"  ", "\t", "\n", "\v", "\f", "\r", " ", "\x01", "\x1f", "\xc3\xa9", "\x7f", " \n", "\x08"};
    size_t broken = 0;
    for (size_t length = 1; length <= 70; ++length) {
        std::string words;
        for (size_t i = 0; words.size() < length; ++i) words += i % 6 == 5 ? ' ' : static_cast<char>('a' + i % 26);
        if (words.back() == ' ') words.back() = 'z';
        EXPECT_EQ(SvdIsOneLine(words), byTheRule(words)) << '"' << words << '"';
        for (size_t at = 0; at <= length; ++at) {
            for (const char* mark : marks) {
                const std::string text = words.substr(0, at) + mark + words.substr(at);
                EXPECT_EQ(SvdIsOneLine(text), byTheRule(text)) << '"' << text << '"';
                broken += byTheRule(text) ? 0 : 1;
            }
        }
    }
    EXPECT_GT(broken, 10'000u);  // the cases do break lines, and in every place
}

}  // namespace
