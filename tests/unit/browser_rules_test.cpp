#include <gtest/gtest.h>

#include <string>

#include "browser/host_ui_options.h"
#include "browser/script_value.h"
#include "browser/web_address.h"
#include "../lib/script_value_text.h"

namespace mc {
namespace {

TEST(HostUiOptions, AttachClearsBorderAndScrollbarsUnlessKept) {
  struct Case {
    bool browserExists, keepScrollbars;
    bool result, showBorder, showScrollbars;
    uint32_t flags;
  } const cases[] = {
      // Before the browser exists nothing changes and nothing is reported hidden.
      {false, false, false, true, true, 0},
      {true, true, true, false, true, kHostFlagNo3DBorder},
      {true, false, true, false, false, kHostFlagNo3DBorder | kHostFlagScrollNo},
  };
  for (const Case& c : cases) {
    HostUiOptions options;
    EXPECT_EQ(options.Attach(c.browserExists, c.keepScrollbars), c.result);
    EXPECT_EQ(options.showBorder, c.showBorder);
    EXPECT_EQ(options.showScrollbars, c.showScrollbars);
    EXPECT_EQ(options.HostFlags(0), c.flags);
    // Flags the browser already set are kept.
    EXPECT_EQ(options.HostFlags(0x10000), c.flags | 0x10000);
  }
}

TEST(IsWebAddress, OnlyHttpAndHttpsLeaveForTheDesktopBrowser) {
  struct Case {
    const char* url;
    bool expected;
  } const cases[] = {
      {"http://127.0.0.1/pay", true},    {"HTTPS://example.com/", true},
      {"  http://x/", true},             {"file:///etc/passwd", false},
      {"javascript:alert(1)", false},    {"mailto:a@b", false},
      {"ms-settings:", false},           {"http:", false},
      {"", false},                       {"about:blank", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsWebAddress(c.url), c.expected) << c.url;
  }
}

TEST(IsCleanWebAddress, NoBlanksBeforeNoControlCharactersAnywhere) {
  struct Case {
    std::string_view url;
    bool expected;
  } const cases[] = {
      {"http://127.0.0.1/pay?a=1&b=2", true},
      {"HTTPS://example.com/a b", true},
      {" http://x/", false},
      {"\thttp://x/", false},
      {"http://x/\n", false},
      {"http://x/\r/y", false},
      {"http://x/\x7f", false},
      {std::string_view("http://x/\0y", 11), false},
      {"http://", false},
      {"file:///etc/passwd", false},
      {"http://\xd0\xc7/", true},  // GBK text in the path is left to the browser
  };
  for (const Case& c : cases) EXPECT_EQ(IsCleanWebAddress(c.url), c.expected) << c.url;
}

TEST(DescribeScriptValue, ShowsTypesApart) {
  struct Case {
    ScriptValue value;
    std::string expected;
  } const cases[] = {
      {ScriptValue::String("1"), "\"1\""},  {ScriptValue::Number(1), "1"},
      {ScriptValue::Number(-2.5), "-2.5"},  {ScriptValue::Number(1e300), "1.0000000000000001e+300"},
      {ScriptValue::Boolean(true), "true"}, {ScriptValue::Null(), "null"},
      {ScriptValue::Undefined(), "undefined"}, {ScriptValue::Object(), "[object]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeScriptValue(c.value), c.expected);
  }
}

}  // namespace
}  // namespace mc
