// A value passed between page script and the client, with its script type kept: the page's
// "1" and 1 are different arguments, and the client's command dispatch relies on that.
#pragma once

#include <string>
#include <vector>

namespace mc {

struct ScriptValue {
  enum class Kind { kUndefined, kNull, kBoolean, kNumber, kString, kObject };

  Kind kind = Kind::kUndefined;
  bool boolean = false;
  double number = 0;
  std::string text;  // kString: system code page (GBK) bytes

  static ScriptValue Undefined() { return {}; }
  static ScriptValue Null() { return {Kind::kNull, false, 0, {}}; }
  static ScriptValue Boolean(bool b) { return {Kind::kBoolean, b, 0, {}}; }
  static ScriptValue Number(double n) { return {Kind::kNumber, false, n, {}}; }
  static ScriptValue String(std::string s) { return {Kind::kString, false, 0, std::move(s)}; }
  static ScriptValue Object() { return {Kind::kObject, false, 0, {}}; }

  bool IsString() const { return kind == Kind::kString; }
  bool operator==(const ScriptValue&) const = default;
};

// Arguments in call order: element 0 is the first argument the page passed.
using ScriptArgs = std::vector<ScriptValue>;

}  // namespace mc
