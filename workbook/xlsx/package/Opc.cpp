#include "workbook/xlsx/package/Opc.h"

#include <vector>

#include "workbook/Ascii.h"
#include "workbook/xlsx/xml/Dom.h"

namespace vk::xlsx {

namespace {

// "/xl/workbook.xml" and "xl/workbook.xml" name the same part.
std::string_view withoutSlash(std::string_view part) {
  while (!part.empty() && part.front() == '/') part.remove_prefix(1);
  return part;
}

}  // namespace

std::string relationshipPartOf(std::string_view part) {
  part = withoutSlash(part);
  std::size_t slash = part.rfind('/');
  std::string_view folder = slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
  std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
  return std::string(folder) + "_rels/" + std::string(name) + ".rels";
}

std::string resolveTarget(std::string_view sourcePart, std::string_view target) {
  std::string decoded;
  for (std::size_t i = 0; i < target.size(); ++i) {
    if (target[i] == '%' && i + 2 < target.size() && hexDigitValue(target[i + 1]) >= 0 &&
        hexDigitValue(target[i + 2]) >= 0) {
      decoded += char(hexDigitValue(target[i + 1]) * 16 + hexDigitValue(target[i + 2]));
      i += 2;
    } else if (target[i] == '\\') {
      decoded += '/';
    } else {
      decoded += target[i];
    }
  }
  if (decoded.find("://") != std::string::npos) return {};
  std::string path;
  if (!decoded.empty() && decoded.front() == '/') {
    path = decoded;
  } else {
    std::string_view source = withoutSlash(sourcePart);
    std::size_t slash = source.rfind('/');
    path = (slash == std::string_view::npos ? std::string() : std::string(source.substr(0, slash + 1))) + decoded;
  }
  std::vector<std::string> segments;
  std::size_t begin = 0;
  while (begin <= path.size()) {
    std::size_t end = path.find('/', begin);
    if (end == std::string::npos) end = path.size();
    std::string segment = path.substr(begin, end - begin);
    if (segment == "..") {
      if (segments.empty()) return {};
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    begin = end + 1;
  }
  std::string result;
  for (const std::string& s : segments) result += (result.empty() ? "" : "/") + s;
  return result;
}

std::string_view relationshipKind(std::string_view type) {
  std::size_t slash = type.rfind('/');
  return slash == std::string_view::npos ? type : type.substr(slash + 1);
}

Relationships::Relationships(std::string_view xml, std::string_view source, std::string_view where,
                             const Limits& limits) {
  parseTree(doc_, xml, where, limits.maxTreeSize);
  for (pugi::xml_node r = doc_.document_element().first_child(); r; r = r.next_sibling()) {
    if (r.type() != pugi::node_element || nodeLocalName(r) != "Relationship") continue;
    Relationship rel;
    rel.id = attribute(r, "Id").value();
    rel.kind = std::string(relationshipKind(attribute(r, "Type").value()));
    if (std::string_view(attribute(r, "TargetMode").value()) != "External")
      rel.target = resolveTarget(source, attribute(r, "Target").value());
    list_.push_back(std::move(rel));
  }
}

const Relationship* Relationships::byId(std::string_view id) const {
  for (const Relationship& r : list_)
    if (r.id == id) return &r;
  return nullptr;
}

const Relationship* Relationships::firstOfKind(std::string_view kind) const {
  for (const Relationship& r : list_)
    if (r.kind == kind) return &r;
  return nullptr;
}

bool Relationships::removeKind(std::string_view kind) {
  bool removed = false;
  pugi::xml_node root = doc_.document_element();
  for (pugi::xml_node r = root.first_child(); r;) {
    pugi::xml_node next = r.next_sibling();
    if (r.type() == pugi::node_element && nodeLocalName(r) == "Relationship" &&
        relationshipKind(attribute(r, "Type").value()) == kind) {
      root.remove_child(r);
      removed = true;
    }
    r = next;
  }
  std::erase_if(list_, [&](const Relationship& r) { return r.kind == kind; });
  return removed;
}

std::string Relationships::xml() const { return treeText(doc_); }

ContentTypes::ContentTypes(std::string_view xml, std::string_view where, const Limits& limits) {
  parseTree(doc_, xml, where, limits.maxTreeSize);
}

std::string ContentTypes::typeOf(std::string_view part) const {
  part = withoutSlash(part);
  std::size_t dot = part.rfind('.');
  std::string_view extension = dot == std::string_view::npos ? std::string_view() : part.substr(dot + 1);
  std::string byDefault;
  for (pugi::xml_node n = doc_.document_element().first_child(); n; n = n.next_sibling()) {
    if (n.type() != pugi::node_element) continue;
    if (nodeLocalName(n) == "Override" && equalIgnoringAsciiCase(withoutSlash(attribute(n, "PartName").value()), part))
      return attribute(n, "ContentType").value();
    if (nodeLocalName(n) == "Default" && equalIgnoringAsciiCase(attribute(n, "Extension").value(), extension))
      byDefault = attribute(n, "ContentType").value();
  }
  return byDefault;
}

bool ContentTypes::removeOverride(std::string_view part) {
  part = withoutSlash(part);
  bool removed = false;
  pugi::xml_node root = doc_.document_element();
  for (pugi::xml_node n = root.first_child(); n;) {
    pugi::xml_node next = n.next_sibling();
    if (n.type() == pugi::node_element && nodeLocalName(n) == "Override" &&
        equalIgnoringAsciiCase(withoutSlash(attribute(n, "PartName").value()), part)) {
      root.remove_child(n);
      removed = true;
    }
    n = next;
  }
  return removed;
}

std::string ContentTypes::xml() const { return treeText(doc_); }

}  // namespace vk::xlsx
