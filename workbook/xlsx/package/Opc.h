#pragma once
// The package conventions of a workbook file: part names, relationship parts
// and the content-type list.

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/xlsx/package/Limits.h"

namespace vk::xlsx {

// The relationship part of a part: "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels";
// the package itself ("") -> "_rels/.rels".
std::string relationshipPartOf(std::string_view part);
// The part a relationship target denotes, seen from the source part: relative
// targets resolve against its folder ("worksheets/sheet1.xml" from
// "xl/workbook.xml" -> "xl/worksheets/sheet1.xml"), "/xl/..." is absolute,
// %XX escapes are decoded. Empty when the target leaves the package.
std::string resolveTarget(std::string_view sourcePart, std::string_view target);
// The last segment of a relationship type URI ("worksheet", "officeDocument"):
// the transitional and the strict schemas differ only before it.
std::string_view relationshipKind(std::string_view type);

struct Relationship {
  std::string id;
  std::string kind;    // last segment of the type
  std::string target;  // resolved part name; empty for external targets
};

class Relationships {
 public:
  // `source` is the part whose relationships these are ("" for the package).
  Relationships(std::string_view xml, std::string_view source, std::string_view where, const Limits& limits);
  Relationships() = default;

  const Relationship* byId(std::string_view id) const;
  const Relationship* firstOfKind(std::string_view kind) const;
  // Removes every relationship of a kind; true when there was one.
  bool removeKind(std::string_view kind);
  std::string xml() const;

 private:
  pugi::xml_document doc_;
  std::vector<Relationship> list_;
};

class ContentTypes {
 public:
  ContentTypes(std::string_view xml, std::string_view where, const Limits& limits);
  ContentTypes() = default;

  // The content type of a part: its override, or the default of its extension.
  std::string typeOf(std::string_view part) const;
  // Removes the override of a part; true when there was one.
  bool removeOverride(std::string_view part);
  std::string xml() const;

 private:
  pugi::xml_document doc_;
};

}  // namespace vk::xlsx
