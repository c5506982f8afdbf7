// The building blocks of the engine: the XML scanner, UTF-8, escaped
// characters, cell references and numbers, part names, ISO dates and the
// choice of formulas to recalculate.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "module1/Fault.h"
#include "workbook/xlsx/package/Opc.h"
#include "workbook/xlsx/sheet/CellContent.h"
#include "workbook/xlsx/sheet/CellRef.h"
#include "workbook/xlsx/sheet/DateSerial.h"
#include "workbook/xlsx/sheet/FormulaShift.h"
#include "workbook/xlsx/sheet/Recalculation.h"
#include "workbook/xlsx/xml/Utf8.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {
namespace {

std::vector<std::string> tokens(std::string_view text) {
  XmlScanner s(text, "test", 16);
  std::vector<std::string> out;
  for (;;) {
    auto t = s.next();
    if (t == XmlScanner::Token::Done) return out;
    if (t == XmlScanner::Token::Start) out.push_back("<" + std::string(s.name()) + (s.selfClosing() ? "/" : ""));
    if (t == XmlScanner::Token::End) out.push_back("</" + std::string(s.name()));
    if (t == XmlScanner::Token::Text) out.push_back((s.isCData() ? "cdata:" : "text:") + std::string(s.text()));
  }
}

TEST(XmlScanner, TokensSkipCommentsAndInstructions) {
  auto t = tokens("<?xml version=\"1.0\"?><!-- a > b --><a x='1>2' y=\"q\"><b/>t&amp;<![CDATA[<raw>]]></a>");
  std::vector<std::string> expected = {"<a", "<b/", "text:t&amp;", "cdata:<raw>", "</a"};
  EXPECT_EQ(t, expected);
}

TEST(XmlScanner, RejectsWhatIsNotWellFormed) {
  for (const char* bad : {"<a><b></a></b>", "<a>", "</a>", "<a x=1/>", "<a x='1'y='2'/>", "<!DOCTYPE a><a/>",
                          "<a><!-- open", "<", "<a b=\"<\"/>", "< a/>", "<a></a >x</b>"}) {
    EXPECT_THROW(tokens(bad), Fault) << bad;
  }
  // Nesting deeper than the limit is refused rather than followed.
  std::string deep;
  for (int i = 0; i < 20; ++i) deep += "<a>";
  for (int i = 0; i < 20; ++i) deep += "</a>";
  EXPECT_THROW(tokens(deep), Fault);
}

TEST(XmlScanner, TextOnlyElementsAreSkippedWhole) {
  // Skipped at once, and the scanner goes on after them as skipElement would.
  for (const char* whole : {"<c r=\"A1\"><v>7</v></c><c/>", "<x:c><x:v>7</x:v></x:c><c/>", "<c></c><c/>"}) {
    XmlScanner s(whole, "test", 16);
    ASSERT_EQ(s.next(), XmlScanner::Token::Start);
    EXPECT_EQ(s.skipTextOnlyElement("v"), std::string_view(whole).size() - 4) << whole;
    EXPECT_EQ(s.depth(), 0u);
    EXPECT_EQ(s.next(), XmlScanner::Token::Start) << whole;
    EXPECT_TRUE(s.selfClosing());
  }
  // Anything else is left to the token-by-token scan, which judges it.
  for (const char* other : {"<c><f>1</f></c>", "<c><v>1<!-- --></v></c>", "<c><v>1</v><extLst/></c>",
                            "<c><v a=\"1\">1</v></c>", "<c> <v>1</v></c>", "<c><v>1</v></d>"}) {
    XmlScanner s(other, "test", 16);
    ASSERT_EQ(s.next(), XmlScanner::Token::Start);
    EXPECT_EQ(s.skipTextOnlyElement("v"), 0u) << other;
    EXPECT_EQ(s.depth(), 1u);
    if (std::string_view(other).find("</d>") != std::string_view::npos)
      EXPECT_THROW(s.skipElement(), Fault);
    else
      EXPECT_EQ(s.skipElement(), std::string_view(other).size()) << other;
  }
}

TEST(XmlScanner, ReferencesAndAttributes) {
  std::string out;
  EXPECT_TRUE(appendUnescaped(out, "a&lt;b&gt;&amp;&quot;&apos;&#65;&#x42;&#x20AC;"));
  EXPECT_EQ(out, "a<b>&\"'AB\xE2\x82\xAC");
  for (const char* bad : {"&foo;", "&#0;", "&#xD800;", "&#x110000;", "&amp", "&#x;", "&#12a;"}) {
    std::string ignored;
    EXPECT_FALSE(appendUnescaped(ignored, bad)) << bad;
  }
  std::string_view value;
  EXPECT_TRUE(findAttribute(" r=\"A1\" x:t='s'", "t", value));
  EXPECT_EQ(value, "s");
  EXPECT_FALSE(findAttribute(" r=\"A1\"", "t", value));
  EXPECT_EQ(localName("x:row"), "row");
  EXPECT_EQ(namePrefix("x:row"), "x:");
  EXPECT_EQ(namePrefix("row"), "");
}

TEST(CellContent, StringItemsLeaveOutPhoneticReadings) {
  std::string si =
      "<si><r><rPr><b/></rPr><t>12</t></r><r><t xml:space=\"preserve\">.5 </t></r>"
      "<rPh sb=\"0\" eb=\"1\"><t>ignored</t></rPh><phoneticPr fontId=\"1\"/></si>";
  XmlScanner s(si, "test", 16);
  ASSERT_EQ(s.next(), XmlScanner::Token::Start);
  std::string text;
  appendStringItem(s, text);
  EXPECT_EQ(text, "12.5 ");

  std::string escaped = "a_x000D_b_x005F_x0041_";
  decodeEscapedCharacters(escaped);
  EXPECT_EQ(escaped, "a\rb_x0041_");

  CellContent c = readCellContent("<c r=\"B2\" t=\"str\"><f t=\"shared\" si=\"3\">A1*2</f><v>4</v></c>", "test", 16);
  EXPECT_EQ(c.type, "str");
  EXPECT_TRUE(c.hasFormula);
  EXPECT_EQ(c.formula, "A1*2");
  EXPECT_EQ(c.formulaType, "shared");
  EXPECT_EQ(c.sharedIndex, "3");
  EXPECT_EQ(c.value, "4");
}

TEST(CellContent, PlainCellsReadAsTheFullReadingReadsThem) {
  // Read in place when the element holds at most its value; what the quick
  // reading gives agrees with the full one, and everything else is left to it.
  for (const char* plain : {"<c r=\"C7\" s=\"3\"><v>300</v></c>", "<x:c r=\"A1\" t=\"s\"><x:v>12</x:v></x:c>",
                            "<c r=\"A1\" s=\"2\"/>", "<c r='A1' t=\"b\">\n  <v>1</v>\n</c>", "<c><v> 4.5 </v></c>",
                            "<c r=\"A1\"></c>", "<c r = \"A1\" s='2' ><v>1</v></c>"}) {
    SCOPED_TRACE(plain);
    const auto quick = readPlainCell(plain);
    ASSERT_TRUE(quick);
    const CellContent full = readCellContent(plain, "test", 16);
    EXPECT_EQ(quick->type, full.type);
    EXPECT_EQ(quick->style, full.style);
    EXPECT_EQ(quick->hasValue, full.hasValue);
    EXPECT_EQ(quick->value, full.value);
  }
  for (const char* other :
       {"<c><f>A1</f><v>2</v></c>", "<c t=\"inlineStr\"><is><t>7</t></is></c>", "<c t=\"str\"><v>a&amp;b</v></c>",
        "<c><v><![CDATA[5]]></v></c>", "<c><v/></c>", "<c><v>1</v><extLst/></c>", "<c><v>1</v></c>trailing",
        "<row r=\"1\"/>", "<c r=\"A1\" s=\"2\">"}) {
    EXPECT_FALSE(readPlainCell(other)) << other;
  }
}

TEST(CellContent, EscapedCharactersOutsideTheBasicPlane) {
  // Escapes name UTF-16 code units: a character past U+FFFF is the pair of
  // its two halves.
  std::string text = "_xD83D__xDE00_ and _xd835__xdc00_";
  decodeEscapedCharacters(text);
  EXPECT_EQ(text, "\xF0\x9F\x98\x80 and \xF0\x9D\x90\x80");
  // A half without its partner is no character: it stays as written.
  for (std::string lone : {"_xD83D_", "_xDE00__xD83D_", "_xD83D_x_xDE00_"}) {
    std::string decoded = lone;
    decodeEscapedCharacters(decoded);
    EXPECT_EQ(decoded, lone);
  }
  std::string highThenLetter = "_xD83D__x0041_";
  decodeEscapedCharacters(highThenLetter);
  EXPECT_EQ(highThenLetter, "_xD83D_A");
}

TEST(Utf8, EachLengthAtItsBounds) {
  const std::pair<char32_t, const char*> bounds[] = {{0x7F, "\x7F"},
                                                     {0x80, "\xC2\x80"},
                                                     {0x7FF, "\xDF\xBF"},
                                                     {0x800, "\xE0\xA0\x80"},
                                                     {0xFFFF, "\xEF\xBF\xBF"},
                                                     {0x10000, "\xF0\x90\x80\x80"},
                                                     {0x10FFFF, "\xF4\x8F\xBF\xBF"}};
  for (const auto& [character, bytes] : bounds) {
    std::string out;
    appendUtf8(out, character);
    EXPECT_EQ(out, bytes) << std::hex << std::uint32_t(character);
  }
}

TEST(CellRef, ReferencesAndNumbers) {
  int row = 0, column = 0;
  EXPECT_TRUE(parseCellRef("AW32767", row, column));
  EXPECT_EQ(row, 32767);
  EXPECT_EQ(column, 49);
  EXPECT_TRUE(parseCellRef("XFD1048576", row, column));
  EXPECT_EQ(column, 16384);
  for (const char* bad : {"", "A", "1", "A0", "XFE1", "A1048577", "AAAA1", "A1B", "$A$1", "A-1"})
    EXPECT_FALSE(parseCellRef(bad, row, column)) << bad;
  EXPECT_EQ(cellRef(45, 10), "J45");
  EXPECT_EQ(cellRef(1, 703), "AAA1");

  std::string text;
  appendNumber(text, double(29.92f));
  EXPECT_EQ(text, "29.920000076293945");
  text.clear();
  appendNumber(text, 29.92);
  EXPECT_EQ(text, "29.92");
  text.clear();
  appendNumber(text, 32767);
  EXPECT_EQ(text, "32767");
  // The shortest text reads back as the same double, whatever it is.
  for (double v : {0.1, 1.0 / 3.0, 6.02214076e23, -1e-300, double(0.3f), 5e-324}) {
    text.clear();
    appendNumber(text, v);
    double back = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << text;
  }
}

TEST(CellRef, NumberCellsMadeInOnePiece) {
  std::string text = "<row>";
  appendNumberCell(text, 12, 11, 4, double(29.92f));
  EXPECT_EQ(text, "<row><c r=\"K12\" s=\"3\"><v>29.920000076293945</v></c>") << "appended, the format index less one";
  text.clear();
  appendNumberCell(text, 7, 1, 0, 2.5);
  EXPECT_EQ(text, "<c r=\"A7\"><v>2.5</v></c>") << "no format";
  // The longest of each piece still fits.
  text.clear();
  appendNumberCell(text, 1048576, 16384, 4294967295u, -1.7976931348623157e308);
  EXPECT_EQ(text, "<c r=\"XFD1048576\" s=\"4294967294\"><v>-1.7976931348623157e+308</v></c>");
  text.clear();
  appendInteger(text, 1048576);
  appendInteger(text, -3);
  EXPECT_EQ(text, "1048576-3");
}

TEST(Opc, TargetsAndRelationshipParts) {
  EXPECT_EQ(resolveTarget("xl/workbook.xml", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(resolveTarget("xl/workbook.xml", "/xl/worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(resolveTarget("xl/worksheets/sheet1.xml", "../drawings/drawing1.xml"), "xl/drawings/drawing1.xml");
  EXPECT_EQ(resolveTarget("", "xl/work%20book.xml"), "xl/work book.xml");
  EXPECT_EQ(resolveTarget("xl/workbook.xml", "../../outside.xml"), "");
  EXPECT_EQ(resolveTarget("xl/workbook.xml", "http://example.com/x.xml"), "");
  EXPECT_EQ(relationshipPartOf("xl/workbook.xml"), "xl/_rels/workbook.xml.rels");
  EXPECT_EQ(relationshipPartOf(""), "_rels/.rels");
  EXPECT_EQ(relationshipKind("http://purl.oclc.org/ooxml/officeDocument/relationships/worksheet"), "worksheet");
}

TEST(FormulaShift, RelativeReferencesMoveAbsoluteOnesStay) {
  EXPECT_EQ(shiftFormula("A1*2+$C$1+C$1+$C1", 2, 1), "B3*2+$C$1+D$1+$C3");
  EXPECT_EQ(shiftFormula("SUM(J45:J300)/COUNT($A:A)", 1, 0), "SUM(J46:J301)/COUNT($A:A)");
  EXPECT_EQ(shiftFormula("SUM(A:B)+SUM(3:4)", 1, 2), "SUM(C:D)+SUM(4:5)");
  EXPECT_EQ(shiftFormula("Sheet2!A7+'Fit history'!B2", 1, 0), "Sheet2!A8+'Fit history'!B3");
  // Texts, functions, numbers and names are not references.
  EXPECT_EQ(shiftFormula("IF(A1>1.5E3,\"A1\",LOG10(B2))&TRUE", 1, 1), "IF(B2>1.5E3,\"A1\",LOG10(C3))&TRUE");
  EXPECT_EQ(shiftFormula("Table1[Flow]+Vol", 5, 5), "Table1[Flow]+Vol");
  EXPECT_EQ(shiftFormula("A1+B2", -1, 0), "#REF!+B1");
  EXPECT_EQ(shiftFormula("XFD1", 0, 1), "#REF!");
}

TEST(DateSerial, IsoDatesReadAsSerials) {
  EXPECT_EQ(serialFromIsoDate("1900-01-01", false), 1.0);
  EXPECT_EQ(serialFromIsoDate("1900-03-01", false), 61.0);
  EXPECT_EQ(serialFromIsoDate("2024-03-01T10:30:00", false), 45352.4375);
  EXPECT_EQ(serialFromIsoDate("1904-01-02", true), 1.0);
  EXPECT_EQ(serialFromIsoDate("12:00", false), 0.5);
  for (const char* bad : {"", "2024-13-01", "2024-03-01X", "noon", "2024-03-01T25:00"})
    EXPECT_FALSE(serialFromIsoDate(bad, false)) << bad;
}

TEST(Recalculation, FormulasThatMayReachOtherSheets) {
  std::vector<std::string> names = {"Volume", "_xlnm.Print_Area"};
  EXPECT_FALSE(mayReferElsewhere("SUM(C7:C12)*2", names));
  EXPECT_FALSE(mayReferElsewhere("VOLUMES+1", names));
  EXPECT_TRUE(mayReferElsewhere("Results!B19*2", names));
  EXPECT_TRUE(mayReferElsewhere("'Fit history'!J11", names));
  EXPECT_TRUE(mayReferElsewhere("volume*2", names));
  EXPECT_TRUE(mayReferElsewhere("indirect(\"C\"&A1)", names));
  EXPECT_TRUE(mayReferElsewhere("SUM(Table1[Flow])", names));
}

}  // namespace
}  // namespace vk::xlsx
