// An object of the client that page script reaches as `window.external`. The page sees one
// function per method name; calling it hands the arguments, types kept, to Call. A page call
// yields no value, and a call the object does not understand is its own business to ignore.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browser/script_value.h"

namespace mc {

class ScriptObject {
 public:
  virtual ~ScriptObject() = default;

  // The method names offered to the page, matched case-sensitively. Each must be a plain script
  // identifier (IsScriptIdentifier); other names are not offered.
  virtual std::vector<std::string> Methods() const = 0;

  // Runs on the user-interface thread, after the page's call (possibly once the page's own
  // script has moved on). `method` is one of Methods().
  virtual void Call(std::string_view method, const ScriptArgs& args) = 0;
};

}  // namespace mc
