#include "browser/external_message.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "browser/page_script.h"

namespace mc {
namespace {

const std::vector<std::string> kOffered = {"JsCallClient", "Other"};

TEST(ExternalMessage, ArgumentsKeepTheirScriptTypes) {
  const std::vector<ScriptCall> calls = ParseExternalMessage(
      R"([["JsCallClient","s6","s\u6807\u9898\"\\\n","n-2.5","n1e+21","b1","b0","z","u","o",)"
      R"("s"],  ["Other"] ])",
      kOffered);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].method, "JsCallClient");
  const ScriptArgs expected = {ScriptValue::String("6"),
                               ScriptValue::String("\xE6\xA0\x87\xE9\xA2\x98\"\\\n"),
                               ScriptValue::Number(-2.5),
                               ScriptValue::Number(1e21),
                               ScriptValue::Boolean(true),
                               ScriptValue::Boolean(false),
                               ScriptValue::Null(),
                               ScriptValue::Undefined(),
                               ScriptValue::Object(),
                               ScriptValue::String("")};
  EXPECT_EQ(calls[0].args, expected);
  EXPECT_EQ(calls[1].method, "Other");
  EXPECT_TRUE(calls[1].args.empty());

  const std::vector<ScriptCall> odd =
      ParseExternalMessage(R"([["Other","nNaN","n-Infinity","s\ud83d\ude00","s\ud800x"]])", kOffered);
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_TRUE(std::isnan(odd[0].args[0].number));
  EXPECT_EQ(odd[0].args[1].number, -INFINITY);
  EXPECT_EQ(odd[0].args[2].text, "\xF0\x9F\x98\x80");       // a surrogate pair
  EXPECT_EQ(odd[0].args[3].text, "\xEF\xBF\xBD" "x");        // a lone half
}

// A malformed message yields nothing; a well-formed call that is not acceptable is left out
// while the others in its message still act.
TEST(ExternalMessage, MalformedMessagesAndUnacceptableCalls) {
  const char* const malformed[] = {
      "", "[", "[[", "[[]]", "[[\"JsCallClient\"]", "[[\"JsCallClient\",]]",
      "[[\"JsCallClient\"]],", "[[\"JsCallClient\"]] x", "{\"m\":\"JsCallClient\"}",
      "[[\"JsCallClient\",\"s\\x\"]]", "[[\"JsCallClient\",\"s\\u12\"]]",
      "[[\"JsCallClient\",\"s\x01\"]]", "[[\"JsCallClient\",\"s]]", "[[\"JsCallClient\",5]]",
      "[[\"JsCallClient\",[\"s\"]]]", "\"[]\"",
  };
  for (const char* text : malformed) EXPECT_TRUE(ParseExternalMessage(text, kOffered).empty()) << text;
  EXPECT_TRUE(ParseExternalMessage("[]", kOffered).empty());

  std::string manyArgs = "[\"JsCallClient\"";
  for (size_t i = 0; i <= kMaxArgumentsPerCall; ++i) manyArgs += ",\"u\"";
  manyArgs += "]";
  const std::string longText = "[\"JsCallClient\",\"s" + std::string(kMaxCallTextBytes, 'x') + "\"]";
  const std::string unacceptable[] = {
      R"(["alert","s1"])",   R"(["jscallclient","s1"])", R"(["JsCallClient","x1"])",
      R"(["JsCallClient","b2"])", R"(["JsCallClient","n1x"])", R"(["JsCallClient","n"])",
      R"(["JsCallClient","zz"])", manyArgs, longText,
  };
  for (const std::string& call : unacceptable) {
    const std::vector<ScriptCall> calls =
        ParseExternalMessage("[" + call + ",[\"Other\",\"s1\"]]", kOffered);
    ASSERT_EQ(calls.size(), 1u) << call.substr(0, 60);
    EXPECT_EQ(calls[0].method, "Other");
  }
}

TEST(ExternalMessage, MessageBounds) {
  std::string full = "[";
  for (size_t i = 0; i < kMaxCallsPerMessage; ++i) full += std::string(i ? "," : "") + "[\"Other\"]";
  EXPECT_EQ(ParseExternalMessage(full + "]", kOffered).size(), kMaxCallsPerMessage);
  EXPECT_TRUE(ParseExternalMessage(full + ",[\"Other\"]]", kOffered).empty());

  const std::string padded = "[[\"Other\"]" + std::string(kMaxMessageTextBytes, ' ') + "]";
  EXPECT_TRUE(ParseExternalMessage(padded, kOffered).empty());
  const std::string fits = "[[\"Other\"]" + std::string(kMaxMessageTextBytes - 12, ' ') + "]";
  EXPECT_EQ(ParseExternalMessage(fits, kOffered).size(), 1u);
}

}  // namespace
}  // namespace mc
