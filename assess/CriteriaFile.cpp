// Reading a criteria file: one JSON object whose keys are limits of the
// check table. Anything else is refused with a message naming the key, so
// that a typing error never passes silently as the default.

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "assess/Criteria.h"

namespace vk::assess {

namespace {

const LimitRow* findLimit(std::string_view key) {
  for (const auto& row : kCheckTable)
    for (std::size_t l = 0; l < row.limitCount; ++l)
      if (row.limits[l].key && key == row.limits[l].key) return &row.limits[l];
  return nullptr;
}

std::string knownKeys() {
  std::string keys;
  for (const auto& row : kCheckTable)
    for (std::size_t l = 0; l < row.limitCount; ++l)
      if (row.limits[l].key) keys += (keys.empty() ? "" : ", ") + std::string(row.limits[l].key);
  return keys;
}

const char* typeWord(const nlohmann::json& v) {
  switch (v.type()) {
    case nlohmann::json::value_t::null: return "null";
    case nlohmann::json::value_t::boolean: return "true or false";
    case nlohmann::json::value_t::string: return "text";
    case nlohmann::json::value_t::array: return "a list";
    case nlohmann::json::value_t::object: return "an object";
    default: return nullptr;  // a number: quoted as written
  }
}

// "text", "a list" ... or, for a number, the number itself ("not 2.5").
std::string describeValue(const nlohmann::json& v) {
  const char* word = typeWord(v);
  return word ? word : v.dump();
}

}  // namespace

Criteria parseCriteria(std::string_view text, const std::string& source) {
  nlohmann::json doc;
  try {
    doc = nlohmann::json::parse(text.begin(), text.end());
  } catch (const nlohmann::json::parse_error& e) {
    throw CriteriaError(
        "the criteria file " + source + " is not JSON (it breaks off at byte " + std::to_string(e.byte) + ")", "");
  }
  if (!doc.is_object())
    throw CriteriaError("the criteria file " + source + " must hold one JSON object of limits by key", "");

  Criteria criteria;
  for (const auto& [key, value] : doc.items()) {
    const LimitRow* row = findLimit(key);
    const std::string where = "the criteria file " + source + ": \"" + key + "\"";
    if (!row) throw CriteriaError(where + " is not a known key; the keys are " + knownKeys(), key);
    if (row->wholeNumber && !value.is_number_integer() && !value.is_number_unsigned())
      throw CriteriaError(where + " must be a whole number, not " + describeValue(value), key);
    if (!value.is_number()) throw CriteriaError(where + " must be a number, not " + describeValue(value), key);
    const double limit = value.get<double>();
    if (!std::isfinite(limit) || limit < 0) throw CriteriaError(where + " must be a finite number, 0 or more", key);
    criteria.set(key, limit);
  }
  return criteria;
}

Criteria loadCriteria(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CriteriaError("the criteria file " + path + " cannot be read", "");
  std::ostringstream text;
  text << in.rdbuf();
  return parseCriteria(text.str(), path);
}

}  // namespace vk::assess
