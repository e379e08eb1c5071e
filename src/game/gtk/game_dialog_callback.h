// The game page's window.external on Linux: one method, JsCallClient, whose calls go to the
// running game window's command dispatcher with their argument types kept (the page must pass
// the code as text; a number is a different argument). No window attached: calls do nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browser/script_object.h"
#include "game/game_window.h"

namespace mc::gtk {

class GameDialogCallback : public ScriptObject {
 public:
  void Attach(GameWindow* window) { window_ = window; }

  std::vector<std::string> Methods() const override { return {kJsCallClientName}; }
  void Call(std::string_view method, const ScriptArgs& args) override;
  void CallAll(const std::vector<ScriptCall>& calls) override;

 private:
  GameWindow* window_ = nullptr;
};

}  // namespace mc::gtk
