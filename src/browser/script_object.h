// An object of the client that page script reaches as `window.external`. The page sees one
// function per method name; calling it hands the arguments, types kept, to Call. A page call
// yields no value, and a call the object does not understand is its own business to ignore.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browser/script_value.h"

namespace mc {

struct ScriptCall {
  std::string method;
  ScriptArgs args;
};

class ScriptObject {
 public:
  virtual ~ScriptObject() = default;

  // The method names offered to the page, matched case-sensitively. Each must be a plain script
  // identifier (IsScriptIdentifier); other names are not offered.
  virtual std::vector<std::string> Methods() const = 0;

  // Runs on the user-interface thread, after the page's call (possibly once the page's own
  // script has moved on). `method` is one of Methods().
  virtual void Call(std::string_view method, const ScriptArgs& args) = 0;

  // The calls a page made in one go, in order. An object that can coalesce (a flood of
  // calls that each redraw) overrides this; by default each goes to Call.
  virtual void CallAll(const std::vector<ScriptCall>& calls) {
    for (const ScriptCall& call : calls) Call(call.method, call.args);
  }
};

}  // namespace mc
