#include "game/script_bridge.h"

#include <algorithm>
#include <cmath>

#include "browser/web_address.h"
#include "package/config_record.h"
#include "package/gbk.h"

namespace mc {

namespace {

constexpr int32_t kCodeEndWindow = 1;
constexpr int32_t kCodeRestart = 2;
constexpr int32_t kCodeRechargeLink = 4;
constexpr int32_t kCodeTitle = 6;

// The value argument of codes 4 and 6 as the C string it is used as, or false.
bool ValueText(const std::vector<BridgeArg>& args, std::string& text) {
  if (args.size() < 2) return false;
  const BridgeArg& value = args[args.size() - 2];
  if (value.kind != BridgeArg::Kind::kString) return false;
  const std::string_view whole = value.text;
  text = std::string(whole.substr(0, whole.find('\0')));
  return text.size() + 1 <= kBridgeValueField;
}

}  // namespace

BridgeArg BridgeArgFromScriptValue(const ScriptValue& value) {
  switch (value.kind) {
    case ScriptValue::Kind::kString:
      return BridgeArg::String(value.text);
    case ScriptValue::Kind::kNumber: {
      const double n = value.number;
      if (std::isfinite(n) && n == std::trunc(n) && n >= -2147483648.0 && n <= 2147483647.0)
        return BridgeArg::I4(static_cast<int32_t>(n));
      return BridgeArg::Double(n);
    }
    case ScriptValue::Kind::kBoolean:
      return BridgeArg::Bool(value.boolean);
    case ScriptValue::Kind::kObject:
      return BridgeArg::Other();
    case ScriptValue::Kind::kUndefined:
    case ScriptValue::Kind::kNull:
      break;
  }
  return BridgeArg::Empty();
}

int32_t BridgeCommandCode(const BridgeArg& first) {
  switch (first.kind) {
    case BridgeArg::Kind::kString:
      return ParseConfigInt(first.text);
    case BridgeArg::Kind::kInt:
    case BridgeArg::Kind::kUInt:
      return static_cast<int32_t>(static_cast<uint32_t>(first.integer));
    default:
      return 0;
  }
}

BridgeCommand DispatchJsCall(const std::vector<BridgeArg>& args) {
  if (args.empty()) return {};
  std::string value;
  switch (BridgeCommandCode(args.front())) {
    case kCodeEndWindow:
      return {BridgeCommand::Kind::kEndWindow, {}};
    case kCodeRestart:
      return {BridgeCommand::Kind::kRestart, {}};
    case kCodeRechargeLink:
      if (!ValueText(args, value) || !IsCleanWebAddress(value)) return {};
      return {BridgeCommand::Kind::kSetRechargeLink, std::move(value)};
    case kCodeTitle:
      if (!ValueText(args, value)) return {};
      return {BridgeCommand::Kind::kSetTitle, std::move(value)};
    default:
      return {};
  }
}

std::string PageTitle(std::string_view title, std::string_view value) {
  std::string text(title);
  text += '-';
  text += value;
  return CutToField(text, kTitleTextField);
}

std::string NotifyPageText(int code, GamePoint screen) {
  return std::to_string(code) + ',' + std::to_string(screen.x) + ',' + std::to_string(screen.y);
}

std::vector<std::string> SplitScriptArguments(std::string_view text) {
  std::vector<std::string> pieces;
  size_t i = 0;
  while (pieces.size() < kMaxScriptArguments) {
    while (i < text.size() && text[i] == ',') ++i;
    if (i == text.size()) break;
    const size_t end = std::min(text.find(',', i), text.size());
    pieces.emplace_back(text.substr(i, end - i));
    i = end;
  }
  return pieces;
}

PageCall ClientCallJs(int code, GamePoint screen) {
  return {kClientCallJsName, SplitScriptArguments(NotifyPageText(code, screen))};
}

}  // namespace mc
