#pragma once
// The limits the checklist applies: the table's defaults, changed where a
// criteria file says so.

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "assess/CheckTable.h"

namespace vk::assess {

class Criteria {
 public:
  Criteria();  // every default of the table

  double limit(CheckId id, std::size_t which) const;
  // False when no limit has this key.
  bool set(std::string_view key, double value);

 private:
  std::array<std::array<double, 2>, kCheckCount> limits_{};
};

// A criteria file that cannot be used; key() names the offending key, empty
// when the fault is the file's as a whole.
class CriteriaError : public std::runtime_error {
 public:
  CriteriaError(const std::string& message, std::string key) : std::runtime_error(message), key_(std::move(key)) {}
  const std::string& key() const { return key_; }

 private:
  std::string key_;
};

// A JSON object of key: limit, every key one of the table's; `source` names
// the file in messages.
Criteria parseCriteria(std::string_view text, const std::string& source);
Criteria loadCriteria(const std::string& path);

}  // namespace vk::assess
