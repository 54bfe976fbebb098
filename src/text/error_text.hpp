// The shapes that error texts share: one text per variant alternative, "Name(a, b)" and
// "Name { field: value }" debug texts, quoted payloads and the texts of an enumerator.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "text/quoted.hpp"
#include "text/text.hpp"

namespace redivi::detail {

template <class... Texts>
struct Overloaded : Texts... {
  using Texts::operator()...;
};

// Whether one of the visitor's functions takes the alternative.
template <class Alternative, class Visitor>
constexpr bool has_text = std::is_invocable_v<const Visitor&, const Alternative&>;

// No alternative is of this type: a text that takes it is generic and would hide a missing one.
struct NoAlternative {};

// The text of the alternative the variant holds, from one function per alternative: an alternative
// without its own function, or a generic function, does not compile.
template <class... Alternatives, class... Texts>
std::string render(const std::variant<Alternatives...>& value, const Texts&... texts) {
  using Visitor = Overloaded<Texts...>;
  static_assert((has_text<Alternatives, Visitor> && ...), "every alternative needs its own text");
  static_assert(!has_text<NoAlternative, Visitor>, "a generic text would hide a missing one");
  return std::visit<std::string>(Visitor{texts...}, value);
}

// The debug name and the display text of an enumerator, given by one exhaustive switch per enum
// (the build turns a switch that misses an enumerator into an error).
struct EnumTexts {
  std::string_view name, display;
};

// Appends the value of a field: an integer in decimal, a text as it is.
template <class Value>
void append_value(std::string& out, const Value& value) {
  if constexpr (std::is_integral_v<Value>) {
    text::append_number(out, value);
  } else {
    out += value;
  }
}

// "Name(a, b)": the name, then the values of the fields in parentheses.
template <class... Fields>
std::string tuple_text(std::string_view name, const Fields&... fields) {
  std::string out(name);
  out += '(';
  std::string_view separator;
  ((out += separator, append_value(out, fields), separator = ", "), ...);
  out += ')';
  return out;
}

// A field of a record_text: its name and its value, a text or an integer.
struct RecordField {
  RecordField(std::string_view field_name, std::string field_value) : name{field_name}, value{std::move(field_value)} {}

  template <class Integer>
  requires std::is_integral_v<Integer> RecordField(std::string_view field_name, Integer field_value)
      : name{field_name} {
    text::append_number(value, field_value);
  }

  std::string_view name;
  std::string value;
};

// "Name { a: 1, b: 2 }", or just "Name" without fields.
inline std::string record_text(std::string_view name, std::initializer_list<RecordField> fields) {
  std::string out(name);
  std::string_view separator = " { ";
  for (const RecordField& field : fields) {
    out += separator;
    out += field.name;
    out += ": ";
    out += field.value;
    separator = ", ";
  }
  if (fields.size() > 0) out += " }";
  return out;
}

inline std::string quoted_text(std::string_view text) {
  std::string out;
  quoted::append(out, text);
  return out;
}

inline std::string quoted_list(const std::vector<std::string>& texts) {
  std::string out;
  quoted::append_list(out, texts);
  return out;
}

}  // namespace redivi::detail
