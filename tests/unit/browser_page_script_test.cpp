#include "browser/page_script.h"

#include <gtest/gtest.h>

#include <string>

namespace mc {
namespace {

TEST(ScriptStringLiteral, EscapesEverythingThatCouldEndOrBreakTheLiteral) {
  struct Case {
    std::string text;
    std::string expected;
  } const cases[] = {
      {"", "\"\""},
      {"ClientCallJs", "\"ClientCallJs\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\b", "\"a\\\\b\""},
      {"l1\nl2\r\t", "\"l1\\nl2\\r\\t\""},
      {std::string("a\0b", 3), "\"a\\u0000b\""},
      {"\x01\x7F", "\"\\u0001\\u007F\""},
      {"</script>", "\"\\u003C/script>\""},
      // Line and paragraph separators end a line in older script engines.
      {"a\xE2\x80\xA8" "b\xE2\x80\xA9", "\"a\\u2028b\\u2029\""},
      // Other characters stay as they are.
      {"\xE4\xB8\xAD\xF0\x9F\x98\x80", "\"\xE4\xB8\xAD\xF0\x9F\x98\x80\""},
      // Malformed UTF-8 cannot smuggle a quote: each bad byte becomes U+FFFD.
      {"\xC0\x22", "\"\xEF\xBF\xBD\\\"\""},
      {"\xE4\xB8", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
      {"\xFF", "\"\xEF\xBF\xBD\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScriptStringLiteral(c.text), c.expected) << c.text;
  }
}

TEST(IsScriptIdentifier, AcceptsOnlyPlainNames) {
  struct Case {
    const char* name;
    bool expected;
  } const cases[] = {
      {"ClientCallJs", true}, {"_private", true},   {"$el2", true},
      {"", false},            {"2fast", false},     {"a.b", false},
      {"alert(1)//", false},  {"a b", false},       {"function", false},
      {"typeof", false},      {"arguments", false}, {"\xE4\xB8\xAD", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsScriptIdentifier(c.name), c.expected) << c.name;
  }
}

TEST(FunctionCallBody, PassesEveryArgumentByNameAndRefusesNonIdentifiers) {
  const std::string body = FunctionCallBody("ClientCallJs", 3);
  EXPECT_EQ(body.rfind("return ClientCallJs(", 0), 0u) << body;
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NE(body.find(CallArgumentName(i)), std::string::npos) << body;
  }
  EXPECT_EQ(body.find(CallArgumentName(3)), std::string::npos) << body;
  EXPECT_EQ(FunctionCallBody("f", 0), "return f();");
  EXPECT_EQ(FunctionCallBody("alert(document.cookie);f", 1), "");
  EXPECT_EQ(FunctionCallBody("", 0), "");
}

TEST(ExternalObjectScript, OffersOnlyIdentifierMethodsAsLiterals) {
  const std::string script =
      ExternalObjectScript("mcChannel", {"JsCallClient", "x\");alert(1);//", "Two"});
  EXPECT_NE(script.find("[\"JsCallClient\",\"Two\"]"), std::string::npos) << script;
  EXPECT_EQ(script.find("alert"), std::string::npos) << script;
  EXPECT_NE(script.find(ScriptStringLiteral("mcChannel")), std::string::npos);
  // No methods still defines the object, empty.
  EXPECT_NE(ExternalObjectScript("mcChannel", {}).find("var names = [];"),
            std::string::npos);
}

}  // namespace
}  // namespace mc
