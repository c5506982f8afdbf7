#pragma once
// Small helpers for the parts kept as pugixml trees: the workbook part, the
// relationships, the content types and everything of a worksheet but its
// cells. Elements are matched by local name, so that prefixed documents
// ("x:sheetView") work as well as plain ones.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace vk::xlsx {

// Parses the text into doc; a fault naming `where` when it is not well-formed
// or longer than maxSize bytes.
void parseTree(pugi::xml_document& doc, std::string_view text, std::string_view where, std::uint64_t maxSize);
// The document as text, without added whitespace.
std::string treeText(const pugi::xml_document& doc);

// Appends what pugixml prints to a string.
class AppendWriter : public pugi::xml_writer {
 public:
  explicit AppendWriter(std::string& out) : out_(out) {}
  void write(const void* data, std::size_t size) override { out_.append(static_cast<const char*>(data), size); }

 private:
  std::string& out_;
};

std::string_view nodeLocalName(pugi::xml_node node);
// The prefix of the node's name, with its colon ("x:"), or empty.
std::string nodePrefix(pugi::xml_node node);
pugi::xml_node child(pugi::xml_node parent, std::string_view local);
pugi::xml_attribute attribute(pugi::xml_node node, std::string_view local);

// The child named `local`, made when missing: it is inserted before the first
// existing child whose local name is one of `followers` (the elements the
// schema puts after it), or appended.
pugi::xml_node ensureChild(pugi::xml_node parent, std::string_view local,
                           std::initializer_list<std::string_view> followers);
// Sets an attribute (by local name; new ones unprefixed); true when the value
// changed.
bool setAttribute(pugi::xml_node node, std::string_view local, std::string_view value);
// Removes an attribute by local name; true when it was there.
bool removeAttribute(pugi::xml_node node, std::string_view local);

}  // namespace vk::xlsx
