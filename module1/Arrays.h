#pragma once
// Bounds-checked arrays. Per-set arrays have the indices 0 to 6 (set i uses
// element i, element 0 is never used); arrays of readings are indexed
// (set, reading), both from 0, dimensioned 0 To sets and 0 To readings. An
// index outside the bounds is the "subscript out of range" fault.

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "module1/Fault.h"

namespace vk {

constexpr int kMaxSets = 6;

[[noreturn]] void raiseSubscript(const char* array, int index, int upper);
[[noreturn]] void raiseSubscript2(const char* array, int set, int reading, int sets, int readings);

template <class T>
class SetArray {
 public:
  explicit SetArray(const char* name = "a per-set array") : name_(name) { values_.fill(T{}); }

  T& operator[](int set) {
    check(set);
    return values_[std::size_t(set)];
  }
  const T& operator[](int set) const {
    check(set);
    return values_[std::size_t(set)];
  }
  void clear() { values_.fill(T{}); }

 private:
  void check(int set) const {
    if (set < 0 || set > kMaxSets) raiseSubscript(name_, set, kMaxSets);
  }
  const char* name_;
  std::array<T, kMaxSets + 1> values_;
};

template <class T>
class ReadingArray {
 public:
  explicit ReadingArray(const char* name = "a reading array") : name_(name) {}

  // ReDim (0 To sets, 0 To readings), every element zero.
  void redim(int sets, int readings) {
    if (sets < 0 || readings < 0) raiseSubscript2(name_, sets, readings, sets, readings);
    sets_ = sets;
    readings_ = readings;
    values_.assign(static_cast<size_t>(sets + 1) * static_cast<size_t>(readings + 1), T{});
  }
  bool dimensioned() const { return !values_.empty(); }

  T& operator()(int set, int reading) { return values_[offset(set, reading)]; }
  const T& operator()(int set, int reading) const { return values_[offset(set, reading)]; }

  // (set, reading) = from(set, reading) for sets 1 to `sets` and readings 1
  // to `readings`: the bounds are checked once, the readings of a set are
  // copied as one block.
  void copyFrom(const ReadingArray& from, int sets, int readings) {
    if (sets < 1 || readings < 1) return;
    offset(sets, readings);
    from.offset(sets, readings);
    for (int set = 1; set <= sets; ++set)
      std::copy_n(&from.values_[from.offset(set, 1)], readings, &values_[offset(set, 1)]);
  }

 private:
  size_t offset(int set, int reading) const {
    if (values_.empty() || set < 0 || set > sets_ || reading < 0 || reading > readings_)
      raiseSubscript2(name_, set, reading, sets_, readings_);
    return static_cast<size_t>(set) * static_cast<size_t>(readings_ + 1) + static_cast<size_t>(reading);
  }
  const char* name_;
  int sets_ = -1;
  int readings_ = -1;
  std::vector<T> values_;
};

}  // namespace vk
