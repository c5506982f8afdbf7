#include "workbook/uno/MacroSource.h"

#include <cctype>

#include "workbook/Ascii.h"

namespace vk {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Consumes the word (any case) followed by at least one blank.
bool takeWord(std::string_view& line, std::string_view word) {
  if (line.size() <= word.size() || !equalIgnoringAsciiCase(line.substr(0, word.size()), word)) return false;
  if (!isBlank(line[word.size()])) return false;
  line.remove_prefix(word.size());
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  return true;
}

bool declaresOnLine(std::string_view line, std::string_view name) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  while (takeWord(line, "public") || takeWord(line, "private") || takeWord(line, "static")) {
  }
  if (!takeWord(line, "sub")) return false;
  if (line.size() < name.size() || !equalIgnoringAsciiCase(line.substr(0, name.size()), name)) return false;
  return line.size() == name.size() || !isNameChar(line[name.size()]);
}

}  // namespace

bool declaresSub(std::string_view source, std::string_view name) {
  while (!source.empty()) {
    size_t end = source.find_first_of("\r\n");
    if (declaresOnLine(source.substr(0, end), name)) return true;
    if (end == std::string_view::npos) break;
    source.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace vk
