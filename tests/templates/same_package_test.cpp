// The comparison by meaning that the generated workbooks are checked with:
// what a writer may choose freely makes no difference, and every change of
// what the file holds is a difference that names its part.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/SamePackage.h"
#include "tests/workbook/xlsx/XlsxFiles.h"

namespace vk::test {
namespace {

using xlsxtest::Parts;

Parts package() {
  xlsxtest::Book book;
  book.sheets[0] = xlsxtest::sheetXml("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1.5</v></c></row>", "<cols/>");
  book.extraParts = {{"xl/media/image1.png", std::string("\x89PNG\r\n\x1a\n", 8) + "pixels"}};
  return book.build();
}

std::string& part(Parts& parts, const std::string& name) {
  for (auto& [n, content] : parts)
    if (n == name) return content;
  throw std::out_of_range(name);
}

void replaceIn(Parts& parts, const std::string& name, const std::string& from, const std::string& to) {
  std::string& content = part(parts, name);
  const auto at = content.find(from);
  ASSERT_NE(at, std::string::npos) << from << " in " << name;
  content.replace(at, from.size(), to);
}

// Every element's attributes in the opposite order.
void reverseAttributes(pugi::xml_node node) {
  std::vector<std::pair<std::string, std::string>> attributes;
  for (pugi::xml_attribute a : node.attributes()) attributes.emplace_back(a.name(), a.value());
  while (node.first_attribute()) node.remove_attribute(node.first_attribute());
  for (auto a = attributes.rbegin(); a != attributes.rend(); ++a)
    node.append_attribute(a->first.c_str()) = a->second.c_str();
  for (pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element) reverseAttributes(child);
}

// The same package as another writer might lay it out: entries in the
// opposite order, attributes too, the lists of content types and
// relationships reversed, the XML indented and without its declaration.
Parts rewritten(Parts parts) {
  std::reverse(parts.begin(), parts.end());
  for (auto& [name, content] : parts) {
    if (name.find(".png") != std::string::npos) continue;
    pugi::xml_document doc;
    if (!doc.load_string(content.c_str())) throw std::runtime_error(name + " does not parse");
    reverseAttributes(doc.document_element());
    const std::string root = doc.document_element().name();
    if (root == "Types" || root == "Relationships") {
      std::vector<pugi::xml_node> entries;
      for (pugi::xml_node e : doc.document_element().children()) entries.push_back(e);
      for (pugi::xml_node e : entries) doc.document_element().prepend_move(e);
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_indent | pugi::format_no_declaration);
    content = out.str();
  }
  return parts;
}

TEST(SamePackage, WhatAWriterMayChooseMakesNoDifference) {
  const Parts original = package();
  const Parts other = rewritten(original);
  ASSERT_NE(xlsxtest::zipBytes(original), xlsxtest::zipBytes(other));
  EXPECT_TRUE(samePackage(xlsxtest::zipBytes(original), xlsxtest::zipBytes(other)));
}

TEST(SamePackage, EveryChangeOfContentIsADifferenceNamingItsPart) {
  struct Change {
    const char* what;
    std::function<void(Parts&)> make;
    const char* reported;
  };
  const std::string sheet = "xl/worksheets/sheet1.xml", rels = "xl/_rels/workbook.xml.rels";
  const std::vector<Change> changes = {
      {"a value", [&](Parts& p) { replaceIn(p, sheet, "1.5", "1.25"); },
       "xl/worksheets/sheet1.xml: /worksheet/sheetData[1]/row[1]/c[1]/v[1]: text \"1.25\" where \"1.5\""},
      {"an attribute", [&](Parts& p) { replaceIn(p, sheet, "s=\"1\"", "s=\"2\""); },
       "/worksheet/sheetData[1]/row[1]/c[1]: attribute s is \"2\", expected \"1\""},
      {"an attribute added", [&](Parts& p) { replaceIn(p, sheet, "s=\"1\"", "s=\"1\" t=\"n\""); },
       "/worksheet/sheetData[1]/row[1]/c[1]: attribute t=\"n\" not expected"},
      {"an element added", [&](Parts& p) { replaceIn(p, sheet, "</row>", "<c r=\"B1\"><v>2</v></c></row>"); },
       "/worksheet/sheetData[1]/row[1]: 2 children, expected 1"},
      {"a part missing",
       [](Parts& p) {
         p.erase(std::find_if(p.begin(), p.end(), [](const auto& e) { return e.first == "xl/styles.xml"; }));
       },
       "part missing: xl/styles.xml"},
      {"a part added", [](Parts& p) { p.emplace_back("xl/extra.xml", "<x/>"); }, "part not expected: xl/extra.xml"},
      {"a relationship's target", [&](Parts& p) { replaceIn(p, rels, "Target=\"styles.xml\"", "Target=\"s.xml\""); },
       "xl/_rels/workbook.xml.rels: relationship not expected: rId100"},
      {"a content type", [](Parts& p) { replaceIn(p, "[Content_Types].xml", "image/png", "image/jpeg"); },
       "content type missing: Default png image/png"},
      {"a picture", [](Parts& p) { replaceIn(p, "xl/media/image1.png", "pixels", "pixelz"); },
       "xl/media/image1.png: the bytes differ"},
  };
  const Parts original = package();
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    Parts changed = original;
    change.make(changed);
    const ::testing::AssertionResult same = samePackage(xlsxtest::zipBytes(original), xlsxtest::zipBytes(changed));
    EXPECT_FALSE(same);
    EXPECT_NE(std::string(same.message()).find(change.reported), std::string::npos) << same.message();
  }
}

}  // namespace
}  // namespace vk::test
