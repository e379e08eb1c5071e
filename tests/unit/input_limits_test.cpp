// What a hostile package may make the client spend. Each limit here stops a package shape
// that once cost far more memory or time than its size suggests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launcher_app.h"
#include "base/messages.h"
#include "fake_app_host.h"
#include "package/ini_document.h"
#include "zip_fixture.h"

namespace mc {
namespace {

using fixture::Bytes;

const std::string kConfig = "[global]\r\ntitle=T\r\nlinkCount=1\r\n";

// kConfig padded with short lines of distinct keys to `size` bytes: the shape that costs the
// INI document the most memory per byte of text.
std::string ConfigOfSize(size_t size) {
  std::string text = kConfig;
  for (int i = 0; text.size() < size; ++i) text += "k" + std::to_string(i) + "=\n";
  text.resize(size, '\n');
  return text;
}

struct Outcome {
  std::vector<std::string> messages;
  std::vector<std::string> events;
};

Outcome Start(const std::string& config) {
  fixture::FakeAppHost host;
  host.program = fixture::PeProgramWith(fixture::BuildZip(
      {fixture::Deflated("config/cg.txt", Bytes(config)),
       fixture::Stored("config/main1.png", Bytes("png"))}));
  LauncherApp app(host, host);
  app.InitInstance();
  return {host.messages, host.events};
}

TEST(InputLimits, ConfigurationTextIsRefusedBeyondItsLimit) {
  const std::string loadFailed = std::string(text::kStartupFailedTitle) + "|" + text::kLoadIniFailed;
  struct Case {
    const char* what;
    std::string config;
    bool starts;
  };
  const Case cases[] = {
      {"at the limit", ConfigOfSize(IniDocument::kMaxTextSize), true},
      {"one byte beyond", ConfigOfSize(IniDocument::kMaxTextSize + 1), false},
      // The text ends at its first NUL; what follows does not count.
      {"short text, long entry", kConfig + '\0' + ConfigOfSize(IniDocument::kMaxTextSize), true},
  };
  for (const Case& c : cases) {
    const Outcome run = Start(c.config);
    if (c.starts) {
      EXPECT_TRUE(run.messages.empty()) << c.what;
      EXPECT_EQ(run.events, std::vector<std::string>{"launcher"}) << c.what;
    } else {
      EXPECT_EQ(run.messages, std::vector<std::string>{loadFailed}) << c.what;
      EXPECT_TRUE(run.events.empty()) << c.what;
    }
  }
}

TEST(InputLimits, RefusedTextLeavesNoEarlierDocumentBehind) {
  IniDocument ini;
  ASSERT_TRUE(ini.Load(kConfig.data(), kConfig.size()));
  const std::string tooLong = ConfigOfSize(IniDocument::kMaxTextSize + 1);
  EXPECT_FALSE(ini.Load(tooLong.data(), tooLong.size()));
  EXPECT_EQ(ini.Get("global", "linkCount"), std::nullopt);
}

}  // namespace
}  // namespace mc
