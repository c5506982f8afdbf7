#pragma once
// Run-time faults. Every failure of a command is one of these: it says what
// failed, where (data set, fit pass, reading, cell) and why, in words a test
// engineer understands. Commands catch nothing; the screen or the batch tool
// that started a command reports the fault.

#include <stdexcept>
#include <string>

namespace vk {

enum class FaultKind {
  DivisionByZero,
  InvalidOperation,  // logarithm of a non-positive number, a root of a negative one
  Overflow,          // a 32-bit float or 16-bit integer out of range, an exponential too large
  SubscriptOutOfRange,
  TypeMismatch,  // a cell that does not hold a number
  BadInput,      // a count or value the analysis cannot work with
  Workbook,      // the workbook file or the spreadsheet application failed
};

const char* faultKindName(FaultKind kind);

class Fault : public std::runtime_error {
 public:
  // `detail`: what a failing component reported in its own terms (its error
  // names, the places in its source), for those who ask to see it; the text
  // says the same in words a user can act on.
  Fault(FaultKind kind, const std::string& text, std::string detail = {});
  FaultKind kind() const { return kind_; }
  // The text shown to the user: the kind's name followed by the text.
  const std::string& description() const { return description_; }
  // What failed, where and why, without the kind: for messages that put
  // several faults together under one kind.
  const std::string& text() const { return text_; }
  // Empty when there is nothing beyond the text.
  const std::string& detail() const { return detail_; }

 private:
  FaultKind kind_;
  std::string text_;
  std::string description_;
  std::string detail_;
};

// Where in the analysis a value is computed; turned into words only when a
// fault is raised, so the hot loops pay nothing for it.
struct Where {
  const char* what = "";  // the quantity, e.g. "the trial estimate of KLa"
  int set = 0;            // data set, 0 when none
  int pass = 0;           // fit pass, 0 when none
  int reading = 0;        // reading within the set, 0 when none

  std::string describe() const;
};

[[noreturn]] void raise(FaultKind kind, const Where& where, const std::string& why);

}  // namespace vk
