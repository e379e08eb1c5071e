#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/script_bridge.h"
#include "package/gbk.h"
#include "../lib/script_value_text.h"

namespace mc {
namespace {

using A = BridgeArg;
using K = BridgeCommand::Kind;

TEST(GameBridge, CommandCodeReadsTextAndTheMachineIntegerKindsOnly) {
  struct Case {
    BridgeArg arg;
    int32_t code;
  } const cases[] = {
      {A::String("1"), 1},
      {A::String(" \t6"), 6},
      {A::String("+2x"), 2},
      {A::String("-4"), -4},
      {A::String("abc"), 0},
      {A::String(""), 0},
      {A::String("99999999999"), 2147483647},
      {A::Int(4), 4},
      {A::UInt(6), 6},
      {A::UInt(4294967295u), -1},
      // A script number arrives as a 32-bit integer or a double: neither is read.
      {A::I4(1), 0},
      {A::Double(1.0), 0},
      {A::Bool(true), 0},
      {A::Empty(), 0},
      {A::Other(), 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BridgeCommandCode(c.arg), c.code) << static_cast<int>(c.arg.kind);
}

TEST(GameBridge, DispatchTakesTheValueFromTheNextToLastArgument) {
  const std::string longest(255, 'a');
  struct Case {
    const char* name;
    std::vector<BridgeArg> args;
    BridgeCommand expected;
  } const cases[] = {
      {"no arguments", {}, {}},
      {"end", {A::String("1")}, {K::kEndWindow, {}}},
      {"end, number instead of text", {A::I4(1)}, {}},
      {"restart", {A::String("2"), A::String("ignored")}, {K::kRestart, {}}},
      {"codes 3, 5, 12 do nothing", {A::String("3")}, {}},
      {"code 5", {A::String("5"), A::String("x"), A::String("y")}, {}},
      {"code 12", {A::String("12")}, {}},
      {"title, three arguments", {A::String("6"), A::String("S1"), A::I4(0)}, {K::kSetTitle, "S1"}},
      {"title, code and text: the code is the value",
       {A::String("6"), A::String("S1")},
       {K::kSetTitle, "6"}},
      {"title needs two arguments", {A::String("6")}, {}},
      {"title value not text", {A::String("6"), A::I4(5), A::String("x")}, {}},
      {"title code as machine integer",
       {A::Int(6), A::String("S2"), A::Empty()},
       {K::kSetTitle, "S2"}},
      {"value of 255 bytes",
       {A::String("6"), A::String(longest), A::Empty()},
       {K::kSetTitle, longest}},
      {"value of 256 bytes", {A::String("6"), A::String(longest + "b"), A::Empty()}, {}},
      {"value up to its first NUL",
       {A::String("6"), A::String(std::string("ab\0cd", 5)), A::Empty()},
       {K::kSetTitle, "ab"}},
      {"recharge link",
       {A::String("4"), A::String("http://pay.example/?a=1;b=2"), A::Empty()},
       {K::kSetRechargeLink, "http://pay.example/?a=1;b=2"}},
      {"recharge link, https",
       {A::String("4"), A::String("HTTPS://pay.example/"), A::Empty()},
       {K::kSetRechargeLink, "HTTPS://pay.example/"}},
      // The link is opened by the desktop: a page must not make that start a program.
      {"recharge link, a program",
       {A::String("4"), A::String("C:\\Windows\\System32\\cmd.exe"), A::Empty()},
       {}},
      {"recharge link, a file", {A::String("4"), A::String("file:///etc/passwd"), A::Empty()}, {}},
      {"recharge link, the code itself", {A::String("4"), A::String("x")}, {}},
      {"recharge link, leading blanks",
       {A::String("4"), A::String(" \thttp://pay.example/"), A::Empty()},
       {}},
      {"recharge link, a line break", {A::String("4"), A::String("http://a/\nb"), A::Empty()}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(DispatchJsCall(c.args), c.expected) << c.name;
}

TEST(GameBridge, PageTitleIsCutTo255BytesOnACharacterBoundary) {
  EXPECT_EQ(PageTitle("\xd0\xc7\xba\xa3", "S1"), "\xd0\xc7\xba\xa3-S1");
  EXPECT_EQ(PageTitle("", ""), "-");
  const std::string title(127, 't');
  std::string value;
  for (int i = 0; i < 100; ++i) value += "\xd0\xc7";  // 200 bytes of GBK
  const std::string cut = PageTitle(title, value);
  EXPECT_EQ(cut.size(), 254u);  // 128 + 63 whole characters; the 64th would need byte 256
  EXPECT_TRUE(IsValidGbk(cut));
}

TEST(GameBridge, ArgumentTextSplitsLikeStrtokIntoAtMostEightPieces) {
  using V = std::vector<std::string>;
  struct Case {
    const char* text;
    V pieces;
  } const cases[] = {
      {"2,100,200", {"2", "100", "200"}},
      {",,a,,b,", {"a", "b"}},
      {"", {}},
      {",,,", {}},
      {"single", {"single"}},
      {"1,2,3,4,5,6,7,8,9,10", {"1", "2", "3", "4", "5", "6", "7", "8"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitScriptArguments(c.text), c.pieces) << c.text;
}

TEST(GameBridge, RightButtonReportsCarryCodeAndScreenPoint) {
  EXPECT_EQ(ClientCallJs(kPageRightButtonDown, {-1280, 7}),
            (PageCall{"ClientCallJs", {"2", "-1280", "7"}}));
  EXPECT_EQ(ClientCallJs(kPageRightButtonUp, {300, 400}),
            (PageCall{"ClientCallJs", {"3", "300", "400"}}));
}

TEST(GameBridge, ScriptValuesTakeTheKindsTheDispatchSees) {
  struct Case {
    ScriptValue value;
    BridgeArg::Kind kind;
  } const cases[] = {
      {ScriptValue::String("1"), BridgeArg::Kind::kString},
      {ScriptValue::Number(1), BridgeArg::Kind::kI4},
      {ScriptValue::Number(-2147483648.0), BridgeArg::Kind::kI4},
      {ScriptValue::Number(2147483648.0), BridgeArg::Kind::kDouble},
      {ScriptValue::Number(1.5), BridgeArg::Kind::kDouble},
      {ScriptValue::Boolean(true), BridgeArg::Kind::kBool},
      {ScriptValue::Null(), BridgeArg::Kind::kEmpty},
      {ScriptValue::Undefined(), BridgeArg::Kind::kEmpty},
      {ScriptValue::Object(), BridgeArg::Kind::kOther},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BridgeArgFromScriptValue(c.value).kind, c.kind) << DescribeScriptValue(c.value);
  EXPECT_EQ(BridgeArgFromScriptValue(ScriptValue::String("6")).text, "6");
  // So a page passing the number 1 ends nothing, and "1" does.
  EXPECT_EQ(DispatchJsCall({BridgeArgFromScriptValue(ScriptValue::Number(1))}).kind, K::kNone);
  EXPECT_EQ(DispatchJsCall({BridgeArgFromScriptValue(ScriptValue::String("1"))}).kind,
            K::kEndWindow);
}

}  // namespace
}  // namespace mc
