// Stresses the XML pull parser: the sequence of items for nested groups, attributes in
// document order, entities and character references, self-closing elements, comments and
// instructions, a byte-order mark, and malformed input failing with its line number.
// Rerun one case: ./test_resources --gtest_filter=XMLParserTest.MalformedInputFailsWithItsLine
#include "TestFolder.h"

#include "framework/core/Common.h"
#include "framework/files/XMLParser.h"

using namespace Quoll;

namespace
{
using Type = XMLElement::Type;

// One line per item: kind, section, value, and the attributes in order.
std::vector<std::wstring> Items(XMLParser& parser)
{
    std::vector<std::wstring> items;
    XMLElement element;
    while (parser.NextElement(&element))
    {
        static const wchar_t* kNames[] = {L"none", L"start", L"end", L"text", L"pi", L"comment"};
        std::wstring item = kNames[static_cast<int>(element.mType)] + std::wstring(L" [") + element.mSection +
                            L"] " + element.mInstruction + (element.mInstruction.empty() ? L"" : L" ") +
                            element.mValue;
        for (const std::wstring& name : element.mAttributeOrder)
            item += L" " + name + L"=" + element.mAttributes.at(name);
        items.push_back(item);
    }
    return items;
}

TEST(XMLParserTest, NestedGroupsAttributesAndSelfClosingElements)
{
    XMLParser parser;
    parser.SetStringSource("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                           "<!-- manifest -->\n"
                           "<ResourceManifest>\n"
                           "  <Resources id='Fonts'>\n"
                           "    <SetDefaults path=\"data\\fonts\" idprefix=\"FONT_\"/>\n"
                           "    <Font zeta=\"1\" id=\"FNT1\" alpha=\"2\" />\n"
                           "  </Resources>\n"
                           "</ResourceManifest>\n");
    const std::vector<std::wstring> expected = {
        L"pi [] xml version=\"1.0\" encoding=\"utf-8\"",
        L"comment []  manifest ",
        L"start [] ResourceManifest",
        L"start [ResourceManifest] Resources id=Fonts",
        L"start [ResourceManifest/Resources] SetDefaults path=data\\fonts idprefix=FONT_",
        L"end [ResourceManifest/Resources] SetDefaults",
        L"start [ResourceManifest/Resources] Font zeta=1 id=FNT1 alpha=2",
        L"end [ResourceManifest/Resources] Font",
        L"end [ResourceManifest] Resources",
        L"end [] ResourceManifest",
    };
    EXPECT_EQ(Items(parser), expected);
    EXPECT_FALSE(parser.HasFailed()) << parser.GetErrorText();
}

TEST(XMLParserTest, EntitiesReferencesAndCdataDecodeToWideText)
{
    XMLParser parser;
    parser.SetStringSource("<t a=\"&lt;&amp;&gt;&quot;&apos;\">x &#65;&#x42;&#x1F600; \xC3\xA9t\xC3\xA9"
                           "<![CDATA[<raw&>]]></t>");
    XMLElement element;
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.GetAttribute(L"a"), L"<&>\"'");
    EXPECT_EQ(element.GetAttribute(L"missing", L"fallback"), L"fallback");
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.mType, Type::Text);
    EXPECT_EQ(element.mValue, std::wstring(L"x AB") + wchar_t(0x1F600) + L" \u00e9t\u00e9");
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.mType, Type::Text);
    EXPECT_EQ(element.mValue, L"<raw&>");
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.mType, Type::End);
    EXPECT_FALSE(parser.NextElement(&element));
    EXPECT_FALSE(parser.HasFailed());
}

// The parser knows the same named entities as the framework's entity decoder.
TEST(XMLParserTest, NamedEntitiesAreThoseOfTheFrameworksDecoder)
{
    XMLParser parser;
    parser.SetStringSource("<t a=\"x&nbsp;y&cr;z\">a&nbsp;b&cr;</t>");
    XMLElement element;
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.GetAttribute(L"a"), Quoll::DecodeXmlEntities(L"x&nbsp;y&cr;z"));
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.mValue, L"a b\n");
    EXPECT_FALSE(parser.HasFailed());
}

using XMLParserFileTest = QuollTest::TestFolder;

TEST_F(XMLParserFileTest, ReadsFileWithByteOrderMarkThroughPackLayer)
{
    WriteFile("data/texts.xml", "\xEF\xBB\xBF<texts><t name=\"UI_OK\">OK</t></texts>");
    XMLParser parser;
    ASSERT_TRUE(parser.OpenFile("Data\\Texts.xml"));
    XMLElement element;
    ASSERT_TRUE(parser.NextElement(&element));
    EXPECT_EQ(element.mValue, L"texts");
    EXPECT_FALSE(parser.OpenFile("data/none.xml"));
    EXPECT_TRUE(parser.HasFailed());
    EXPECT_NE(parser.GetErrorText().find("data/none.xml"), std::string::npos);
}

TEST(XMLParserTest, MalformedInputFailsWithItsLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<a>\n<b>\n</a>", "End tag </a> does not close <b> on Line 3"},
        {"<a>\n\n<b></b>\n", "Element <a> is not closed on Line 4"},
        {"<a x=1/>", "Expected a quoted value for attribute x on Line 1"},
        {"<a x='1' x='2'/>", "Repeated attribute x on Line 1"},
        {"<a>\n&bogus;</a>", "Unknown entity &bogus; on Line 2"},
        {"<a>&#xD800;</a>", "Unknown entity &#xD800; on Line 1"},
        {"<a>&#0;</a>", "Unknown entity &#0; on Line 1"},
        {"<a>\n<!-- open", "Unterminated comment on Line 2"},
        {"</a>", "Unexpected end tag </a> on Line 1"},
        {"<a\nb='<'/>", "'<' in the value of attribute b on Line 2"},
        {"<a b='1'c='2'/>", "Expected white space before an attribute on Line 1"},
        {"<1a/>", "Expected a name on Line 1"},
    };
    for (const auto& [input, error] : cases)
    {
        XMLParser parser;
        parser.SetStringSource(input);
        XMLElement element;
        while (parser.NextElement(&element))
        {
        }
        EXPECT_TRUE(parser.HasFailed()) << input;
        EXPECT_EQ(parser.GetErrorText(), error) << input;
        EXPECT_FALSE(parser.NextElement(&element)) << "a failed parser stays failed";
    }
}
} // namespace
