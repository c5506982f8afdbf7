#include "tests/support/SamePackage.h"

#include <pugixml.hpp>

#include <map>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/workbook/xlsx/XlsxFiles.h"

namespace vk::test {

namespace {

const char* kRelationshipsType = "application/vnd.openxmlformats-package.relationships+xml";

using Parts = std::map<std::string, std::string>;  // name, inflated content

Parts partsOf(const std::string& archive) {
  Parts parts;
  for (const xlsxtest::Entry& entry : xlsxtest::readZip(archive))
    if (!entry.name.empty() && entry.name.back() != '/') parts[entry.name] = entry.data;  // folders are no parts
  return parts;
}

template <class T>
void differenceOfSets(std::ostream& out, const std::string& what, const std::set<T>& expected,
                      const std::set<T>& actual) {
  for (const T& item : expected)
    if (!actual.count(item)) out << "\n  " << what << " missing: " << item;
  for (const T& item : actual)
    if (!expected.count(item)) out << "\n  " << what << " not expected: " << item;
}

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

// "Default xml application/xml", "Override /xl/workbook.xml application/...".
std::set<std::string> contentTypes(const pugi::xml_document& types) {
  std::set<std::string> entries;
  for (pugi::xml_node e : types.child("Types").children("Default"))
    entries.insert(std::string("Default ") + lowerAscii(e.attribute("Extension").value()) + " " +
                   e.attribute("ContentType").value());
  for (pugi::xml_node e : types.child("Types").children("Override"))
    entries.insert(std::string("Override ") + e.attribute("PartName").value() + " " +
                   e.attribute("ContentType").value());
  return entries;
}

// An override by the part's name, else the default for its extension (which
// packages compare without regard to case).
std::string contentTypeOf(const pugi::xml_document& types, const std::string& part) {
  pugi::xml_node root = types.child("Types");
  for (pugi::xml_node e : root.children("Override"))
    if (e.attribute("PartName").value() == "/" + part) return e.attribute("ContentType").value();
  const std::string extension = lowerAscii(part.substr(part.find_last_of('.') + 1));
  for (pugi::xml_node e : root.children("Default"))
    if (lowerAscii(e.attribute("Extension").value()) == extension) return e.attribute("ContentType").value();
  return {};
}

bool isXml(const std::string& type) {
  return type == "application/xml" || type == "text/xml" ||
         (type.size() > 4 && type.compare(type.size() - 4, 4, "+xml") == 0);
}

// "rId1 http://.../worksheet -> worksheets/sheet1.xml", with the target mode when there is one.
std::set<std::string> relationships(const pugi::xml_document& rels) {
  std::set<std::string> entries;
  for (pugi::xml_node r : rels.child("Relationships").children("Relationship")) {
    std::string entry = std::string(r.attribute("Id").value()) + " " + r.attribute("Type").value() + " -> " +
                        r.attribute("Target").value();
    if (r.attribute("TargetMode")) entry += std::string(" (") + r.attribute("TargetMode").value() + ")";
    entries.insert(entry);
  }
  return entries;
}

// The children that carry meaning: elements and text. Whitespace between
// elements, comments and processing instructions are not parsed at all.
std::vector<pugi::xml_node> children(pugi::xml_node node) {
  std::vector<pugi::xml_node> nodes;
  for (pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element || child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
      nodes.push_back(child);
  return nodes;
}

std::map<std::string, std::string> attributes(pugi::xml_node node) {
  std::map<std::string, std::string> all;
  for (pugi::xml_attribute a : node.attributes()) all[a.name()] = a.value();
  return all;
}

// The first place where the two elements differ, and how; empty when they do not.
std::string firstDifference(pugi::xml_node expected, pugi::xml_node actual, const std::string& path) {
  std::ostringstream out;
  if (std::string(expected.name()) != actual.name()) {
    out << path << ": <" << actual.name() << "> where <" << expected.name() << "> was expected";
    return out.str();
  }
  const auto want = attributes(expected), got = attributes(actual);
  if (want != got) {
    for (const auto& [name, value] : want)
      if (!got.count(name) || got.at(name) != value)
        out << path << ": attribute " << name << " is " << (got.count(name) ? "\"" + got.at(name) + "\"" : "missing")
            << ", expected \"" << value << "\"";
    if (out.str().empty())
      for (const auto& [name, value] : got)
        if (!want.count(name)) out << path << ": attribute " << name << "=\"" << value << "\" not expected";
    return out.str();
  }
  const auto wantChildren = children(expected), gotChildren = children(actual);
  std::map<std::string, int> seen;  // elements of each name so far, for the path
  for (std::size_t i = 0; i < wantChildren.size() && i < gotChildren.size(); ++i) {
    const pugi::xml_node w = wantChildren[i], g = gotChildren[i];
    if (w.type() != pugi::node_element || g.type() != pugi::node_element) {
      if (w.type() != g.type() || std::string(w.value()) != g.value()) {
        out << path << ": text \"" << g.value() << "\" where \"" << w.value() << "\" was expected";
        return out.str();
      }
      continue;
    }
    const std::string name = w.name();
    std::string inner = firstDifference(w, g, path + "/" + name + "[" + std::to_string(++seen[name]) + "]");
    if (!inner.empty()) return inner;
  }
  if (wantChildren.size() != gotChildren.size())
    out << path << ": " << gotChildren.size() << " children, expected " << wantChildren.size();
  return out.str();
}

bool load(pugi::xml_document& doc, const std::string& xml, std::ostream& out, const std::string& where) {
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
  if (!parsed) out << "\n  " << where << " does not parse: " << parsed.description();
  return bool(parsed);
}

}  // namespace

::testing::AssertionResult samePackage(const std::string& expected, const std::string& actual) {
  const Parts want = partsOf(expected), got = partsOf(actual);
  std::ostringstream out;
  std::set<std::string> wantNames, gotNames;
  for (const auto& part : want) wantNames.insert(part.first);
  for (const auto& part : got) gotNames.insert(part.first);
  differenceOfSets(out, "part", wantNames, gotNames);

  pugi::xml_document wantTypes, gotTypes;
  const std::string typesPart = "[Content_Types].xml";
  if (want.count(typesPart) && got.count(typesPart) && load(wantTypes, want.at(typesPart), out, typesPart) &&
      load(gotTypes, got.at(typesPart), out, typesPart))
    differenceOfSets(out, "content type", contentTypes(wantTypes), contentTypes(gotTypes));

  for (const auto& [name, content] : want) {
    if (name == typesPart || !got.count(name)) continue;
    const std::string& other = got.at(name);
    const std::string type = contentTypeOf(wantTypes, name);
    if (type == kRelationshipsType) {
      pugi::xml_document w, g;
      if (load(w, content, out, name) && load(g, other, out, name))
        differenceOfSets(out, name + ": relationship", relationships(w), relationships(g));
    } else if (isXml(type)) {
      pugi::xml_document w, g;
      if (load(w, content, out, name) && load(g, other, out, name)) {
        const std::string difference =
            firstDifference(w.document_element(), g.document_element(), std::string("/") + w.document_element().name());
        if (!difference.empty()) out << "\n  " << name << ": " << difference;
      }
    } else if (content != other) {
      out << "\n  " << name << ": the bytes differ";
    }
  }
  if (out.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the packages differ:" << out.str();
}

}  // namespace vk::test
