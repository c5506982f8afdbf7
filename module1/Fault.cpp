#include "module1/Fault.h"

namespace vk {

const char* faultKindName(FaultKind kind) {
  switch (kind) {
    case FaultKind::DivisionByZero: return "Division by zero";
    case FaultKind::InvalidOperation: return "Invalid operation";
    case FaultKind::Overflow: return "Overflow";
    case FaultKind::SubscriptOutOfRange: return "Subscript out of range";
    case FaultKind::TypeMismatch: return "Type mismatch";
    case FaultKind::BadInput: return "Unusable input";
    case FaultKind::Workbook: return "Workbook error";
  }
  return "Fault";
}

Fault::Fault(FaultKind kind, const std::string& text, std::string detail)
    : std::runtime_error(std::string(faultKindName(kind)) + ": " + text),
      kind_(kind),
      text_(text),
      description_(what()),
      detail_(std::move(detail)) {}

std::string Where::describe() const {
  std::string text = what;
  if (set > 0) text += (text.empty() ? "" : ", ") + std::string("data set ") + std::to_string(set);
  if (pass > 0) text += ", fit pass " + std::to_string(pass);
  if (reading > 0) text += ", reading " + std::to_string(reading);
  return text;
}

void raise(FaultKind kind, const Where& where, const std::string& why) {
  std::string text = where.describe();
  if (!text.empty()) text += ": ";
  throw Fault(kind, text + why);
}

}  // namespace vk
