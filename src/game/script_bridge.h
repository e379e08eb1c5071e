// The two directions of talk between the game page and the client.
//
// Page to client: the page calls window.external.JsCallClient(code, ..., value, last). The
// code must be text ("1", not 1): a script number arrives as a 32-bit integer, which is not
// one of the kinds the code is read from. The value is the next-to-last argument.
//   "1" end the game window at once, without the close question
//   "2" start the program again, then end the window
//   "4" the first recharge button's link becomes the value (a web address)
//   "6" the painted title becomes title + "-" + value
//   any other code does nothing.
// Client to page: the page's global function ClientCallJs receives text arguments only:
// "2", x, y when the right mouse button goes down in the game window and "3", x, y when it
// goes up, in screen coordinates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browser/script_value.h"
#include "game/game_geometry.h"

namespace mc {

inline constexpr char kJsCallClientName[] = "JsCallClient";
inline constexpr int kJsCallClientDispId = 100;
inline constexpr char kClientCallJsName[] = "ClientCallJs";
inline constexpr int kPageRightButtonDown = 2;
inline constexpr int kPageRightButtonUp = 3;

// A call of ClientCallJs carries at most this many arguments.
inline constexpr size_t kMaxScriptArguments = 8;

// The text kept when a page call cannot be made because there is no document.
inline constexpr char kScriptErrorPrefix[] = "JSCall Error:\n";
inline constexpr char kNullPointerError[] = "NULL pointer";

// An argument of a page call, with the kinds the dispatch tells apart (a small VARIANT).
struct BridgeArg {
  enum class Kind {
    kEmpty,   // empty, null, undefined
    kString,  // text in the system code page
    kI4,      // a 32-bit integer: what a script number that is a whole number arrives as
    kInt,     // the machine-word signed integer kind
    kUInt,    // the machine-word unsigned integer kind
    kDouble,
    kBool,
    kOther,  // objects and everything else
  };

  Kind kind = Kind::kEmpty;
  int64_t integer = 0;   // kI4, kInt, kUInt
  double real = 0;       // kDouble
  bool boolean = false;  // kBool
  std::string text;      // kString

  static BridgeArg Empty() { return {}; }
  static BridgeArg String(std::string s) { return {Kind::kString, 0, 0, false, std::move(s)}; }
  static BridgeArg I4(int32_t v) { return {Kind::kI4, v, 0, false, {}}; }
  static BridgeArg Int(int32_t v) { return {Kind::kInt, v, 0, false, {}}; }
  static BridgeArg UInt(uint32_t v) { return {Kind::kUInt, v, 0, false, {}}; }
  static BridgeArg Double(double v) { return {Kind::kDouble, 0, v, false, {}}; }
  static BridgeArg Bool(bool v) { return {Kind::kBool, 0, 0, v, {}}; }
  static BridgeArg Other() { return {Kind::kOther, 0, 0, false, {}}; }
};

// A script value as the page's call delivers it: whole numbers in 32-bit range become kI4,
// other numbers kDouble, null and undefined kEmpty, objects kOther.
BridgeArg BridgeArgFromScriptValue(const ScriptValue& value);

// The command code of the first argument: the decimal number a text starts with (leading
// white space and a sign allowed, 0 without digits), the value of kInt and kUInt, else 0.
int32_t BridgeCommandCode(const BridgeArg& first);

struct BridgeCommand {
  enum class Kind { kNone, kEndWindow, kRestart, kSetRechargeLink, kSetTitle };
  Kind kind = Kind::kNone;
  std::string value;  // kSetRechargeLink: the address; kSetTitle: the text after the "-"
  bool operator==(const BridgeCommand&) const = default;
};

// The value of codes 4 and 6, with its terminator, fits this many bytes, else the call does
// nothing.
inline constexpr size_t kBridgeValueField = 256;

// What a JsCallClient call asks for; arguments in call order. Codes 4 and 6 need a second
// argument, take the next-to-last one (for a call of just a code and a text, that is the
// code), and need it to be text of at most 255 bytes up to its first NUL. Code 4 also needs a
// web address: the link is opened by the desktop when the player presses the button, and a
// page must not make that start a program or open a file.
BridgeCommand DispatchJsCall(const std::vector<BridgeArg>& args);

// The painted title after code 6: title + "-" + value, cut to 255 bytes.
inline constexpr size_t kTitleTextField = 256;
std::string PageTitle(std::string_view title, std::string_view value);

// A call of a page function with text arguments.
struct PageCall {
  std::string function;
  std::vector<std::string> args;
  bool operator==(const PageCall&) const = default;
};

// The argument text of a client-to-page call: the code in decimal, then a comma and x, y.
std::string NotifyPageText(int code, GamePoint screen);

// Splits argument text at every ',' the way strtok does (empty pieces vanish), keeping at
// most kMaxScriptArguments pieces; the rest of the text is dropped.
std::vector<std::string> SplitScriptArguments(std::string_view text);

// The ClientCallJs call reporting a right-button event at a screen point.
PageCall ClientCallJs(int code, GamePoint screen);

}  // namespace mc
