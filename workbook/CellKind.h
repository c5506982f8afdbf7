#pragma once
// The kind of value a cell holds, as the user entered it: the input checks
// tell a blank from a 0, a logical value from a 1 and a date from a number,
// which reading the cell as a number does not.

namespace vk {

enum class CellKind {
  Empty,     // nothing, or only a format
  Number,    // a number, or a formula whose result is one
  Boolean,   // TRUE or FALSE
  DateTime,  // a number shown as a date or a time of day
  Text,
  Error,  // an error value such as #DIV/0!
};

// "a logical value", "a date or time" ... for messages.
inline const char* cellKindText(CellKind kind) {
  switch (kind) {
    case CellKind::Empty: return "nothing";
    case CellKind::Number: return "a number";
    case CellKind::Boolean: return "a logical value (TRUE or FALSE)";
    case CellKind::DateTime: return "a date or time";
    case CellKind::Text: return "text";
    case CellKind::Error: return "an error value";
  }
  return "?";
}

}  // namespace vk
