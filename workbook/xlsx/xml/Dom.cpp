#include "workbook/xlsx/xml/Dom.h"

#include "module1/Fault.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

void parseTree(pugi::xml_document& doc, std::string_view text, std::string_view where, std::uint64_t maxSize) {
  if (text.size() > maxSize)
    throw Fault(FaultKind::Workbook,
                std::string(where) + " is too large to read (" + std::to_string(text.size() >> 20) + " MB)");
  // Whitespace-only text is kept: it can be the content of a header or a string.
  pugi::xml_parse_result result =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata,
                      pugi::encoding_utf8);
  if (!result)
    throw Fault(FaultKind::Workbook, std::string(where) + " is damaged: " + result.description() + " (at byte " +
                                         std::to_string(result.offset) + ")");
  if (!doc.document_element())
    throw Fault(FaultKind::Workbook, std::string(where) + " is damaged: it holds no XML element");
}

std::string treeText(const pugi::xml_document& doc) {
  std::string text;
  AppendWriter writer(text);
  doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  // The declaration node, when the part had one, is part of the tree and
  // printed with it; format_no_declaration only stops pugixml adding one.
  return text;
}

std::string_view nodeLocalName(pugi::xml_node node) { return localName(node.name()); }

std::string nodePrefix(pugi::xml_node node) { return std::string(namePrefix(node.name())); }

pugi::xml_node child(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && nodeLocalName(c) == local) return c;
  return {};
}

pugi::xml_attribute attribute(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
    if (localName(a.name()) == local) return a;
  return {};
}

pugi::xml_node ensureChild(pugi::xml_node parent, std::string_view local,
                           std::initializer_list<std::string_view> followers) {
  if (pugi::xml_node existing = child(parent, local)) return existing;
  std::string name = nodePrefix(parent) + std::string(local);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    for (std::string_view f : followers)
      if (nodeLocalName(c) == f) return parent.insert_child_before(name.c_str(), c);
  }
  return parent.append_child(name.c_str());
}

bool setAttribute(pugi::xml_node node, std::string_view local, std::string_view value) {
  pugi::xml_attribute a = attribute(node, local);
  if (a && value == a.value()) return false;
  if (!a) a = node.append_attribute(std::string(local).c_str());
  a.set_value(std::string(value).c_str());
  return true;
}

bool removeAttribute(pugi::xml_node node, std::string_view local) {
  pugi::xml_attribute a = attribute(node, local);
  return a && node.remove_attribute(a);
}

}  // namespace vk::xlsx
