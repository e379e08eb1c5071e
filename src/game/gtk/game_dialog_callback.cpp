#include "game/gtk/game_dialog_callback.h"

namespace mc::gtk {
namespace {

std::vector<BridgeArg> BridgeArgs(const ScriptArgs& args) {
  std::vector<BridgeArg> bridge;
  bridge.reserve(args.size());
  for (const ScriptValue& value : args) bridge.push_back(BridgeArgFromScriptValue(value));
  return bridge;
}

}  // namespace

void GameDialogCallback::Call(std::string_view method, const ScriptArgs& args) {
  if (window_ && method == kJsCallClientName) window_->OnJsCallClient(BridgeArgs(args));
}

void GameDialogCallback::CallAll(const std::vector<ScriptCall>& calls) {
  if (!window_) return;
  std::vector<std::vector<BridgeArg>> bridge;
  bridge.reserve(calls.size());
  for (const ScriptCall& call : calls) {
    if (call.method == kJsCallClientName) bridge.push_back(BridgeArgs(call.args));
  }
  window_->OnJsCallClients(bridge);
}

}  // namespace mc::gtk
