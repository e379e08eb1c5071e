#include "game/gtk/game_dialog_callback.h"

namespace mc::gtk {

void GameDialogCallback::Call(std::string_view method, const ScriptArgs& args) {
  if (!window_ || method != kJsCallClientName) return;
  std::vector<BridgeArg> bridge;
  bridge.reserve(args.size());
  for (const ScriptValue& value : args) bridge.push_back(BridgeArgFromScriptValue(value));
  window_->OnJsCallClient(bridge);
}

}  // namespace mc::gtk
