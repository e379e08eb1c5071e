#include "package/config_record.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <string>

namespace mc {
namespace {

constexpr const char* kCode = "00E04C6812AB";

struct Parsed {
  bool accepted = false;
  int queries = 0;
  ConfigRecord record;
};

Parsed Parse(const std::string& text, const std::string& code = kCode) {
  IniDocument ini;
  EXPECT_TRUE(ini.Load(text.data(), text.size()));
  Parsed p;
  p.accepted = ParseConfig(ini, [&] { ++p.queries; return code; }, p.record);
  return p;
}

TEST(ParseConfigInt, ReadsLikeStrtolAndClamps) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    const char* text;
    int32_t value;
  } const cases[] = {
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"- 5", 0},
      {"0x10", 0},
      {"-28", -28},
      {"+42", 42},
      {"007", 7},
      {" \t\v\f7", 7},
      {"12 ;note", 12},
      {"16777215", 16777215},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"18446744073709551617", kMax},  // 2^64 + 1 must not wrap around to 1
      {"99999999999999999999999", kMax},
      {"-2147483648", kMin},
      {"-2147483649", kMin},
      {"-99999999999999999999999", kMin},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseConfigInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseConfig, AbsentKeysTakeTheirDefaults) {
  const Parsed p = Parse("[global]\nlinkCount=1\n");
  ASSERT_TRUE(p.accepted);
  const ConfigRecord& r = p.record;
  EXPECT_EQ(r.port, 80);
  EXPECT_EQ(r.titleColor, 16777215);
  EXPECT_EQ(r.loginCenterColor, 16777215);
  EXPECT_EQ(r.minGameWidth, 800);
  EXPECT_EQ(r.minGameHeight, 600);
  for (int32_t edge : r.edgeImages) EXPECT_EQ(edge, 9);
  EXPECT_EQ(r.logx, 0);
  EXPECT_EQ(r.titley, 0);
  EXPECT_EQ(r.title, "");
  EXPECT_EQ(r.gameheader, "");
  ASSERT_EQ(r.links.size(), 1u);
  EXPECT_EQ(r.links[0].url, "_blank");
  EXPECT_TRUE(r.menus.empty() && r.gamePics.empty() && r.gameButtons.empty());
}

TEST(ParseConfig, PresentButEmptyOrMalformedNumbersReadAsStrtol) {
  const Parsed p = Parse(
      "[global]\nlinkCount=1\nminGameWidth=\nport=0x10\ntitleColor=16777215\n"
      "minGameHeight=99999999999\nedgeImage3=\n");
  const ConfigRecord& r = p.record;
  EXPECT_EQ(r.minGameWidth, 0);
  EXPECT_EQ(r.port, 0);
  EXPECT_EQ(r.titleColor, 16777215);
  EXPECT_EQ(r.minGameHeight, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(r.edgeImages[2], 0);
  EXPECT_EQ(r.edgeImages[1], 9);
}

TEST(ParseConfig, EveryKeyReachesItsOwnField) {
  // Distinct values everywhere, so a key read into the wrong field shows.
  const Parsed p = Parse(
      "[GLOBAL]\ngameheader=GH\nlinkCount=1\nfirstUrl=http://f/\nversion=1.2\nserver=srv\n"
      "port=8080\nversionUrl=/v.txt\nexeUrl=/e.exe\ntitle=T\ntitleColor=255\nlogx=1\nlogy=2\n"
      "titlex=3\ntitley=4\nedgeImage1=11\nedgeImage2=12\nedgeImage3=13\nedgeImage4=14\n"
      "edgeImage5=15\nedgeImage6=16\nedgeImage7=17\nedgeImage8=18\npicCount=1\n"
      "gameButtonCount=1\nmenuCount=1\nnotityTitle=NT\nnotifyCloseTitle=NCT\n"
      "clearFlashTitle=CFT\nclearFlashMsg=CFM\ncloseMsg=CM\nminGameWidth=1024\n"
      "minGameHeight=768\nloginCenterColor=65280\n"
      "[link1]\nurl=http://l/\nx=21\ny=22\nwidth=23\nheight=24\ntype=25\n"
      "[menu1]\ntitle=M\ntype=31\nshortCut=32\n"
      "[gamePic1]\nx=41\ny=42\nwidth=43\nheight=44\ninterval=45\n"
      "[gamebutton1]\nx=-28\ny=52\ntype=53\nimage=54\ncolor=55\nshortCut=56\ntitle=BT\n"
      "url=http://b/?q=1\ntips=TP\n");
  ASSERT_TRUE(p.accepted);
  const ConfigRecord& r = p.record;
  EXPECT_EQ(r.gameheader, "GH");
  EXPECT_EQ(r.firstUrl, "http://f/");
  EXPECT_EQ(r.version, "1.2");
  EXPECT_EQ(r.server, "srv");
  EXPECT_EQ(r.port, 8080);
  EXPECT_EQ(r.versionUrl, "/v.txt");
  EXPECT_EQ(r.exeUrl, "/e.exe");
  EXPECT_EQ(r.title, "T");
  EXPECT_EQ(r.titleColor, 255);
  EXPECT_EQ((std::array{r.logx, r.logy, r.titlex, r.titley}), (std::array{1, 2, 3, 4}));
  EXPECT_EQ(r.edgeImages, (std::array<int32_t, 8>{11, 12, 13, 14, 15, 16, 17, 18}));
  EXPECT_EQ(r.notityTitle, "NT");
  EXPECT_EQ(r.notifyCloseTitle, "NCT");
  EXPECT_EQ(r.clearFlashTitle, "CFT");
  EXPECT_EQ(r.clearFlashMsg, "CFM");
  EXPECT_EQ(r.closeMsg, "CM");
  EXPECT_EQ(r.minGameWidth, 1024);
  EXPECT_EQ(r.minGameHeight, 768);
  EXPECT_EQ(r.loginCenterColor, 65280);

  ASSERT_EQ(r.links.size(), 1u);
  const LinkEntry& link = r.links[0];
  EXPECT_EQ(link.url, "http://l/");
  EXPECT_EQ((std::array{link.x, link.y, link.width, link.height, link.type}),
            (std::array{21, 22, 23, 24, 25}));

  ASSERT_EQ(r.menus.size(), 1u);
  EXPECT_EQ(r.menus[0].title, "M");
  EXPECT_EQ(r.menus[0].type, 31);
  EXPECT_EQ(r.menus[0].shortCut, 32);

  ASSERT_EQ(r.gamePics.size(), 1u);
  const GamePicEntry& pic = r.gamePics[0];
  EXPECT_EQ((std::array{pic.x, pic.y, pic.width, pic.height, pic.interval}),
            (std::array{41, 42, 43, 44, 45}));

  ASSERT_EQ(r.gameButtons.size(), 1u);
  const GameButtonEntry& button = r.gameButtons[0];
  EXPECT_EQ((std::array{button.x, button.y, button.type, button.image, button.color,
                        button.shortCut}),
            (std::array{-28, 52, 53, 54, 55, 56}));
  EXPECT_EQ(button.title, "BT");
  EXPECT_EQ(button.url, "http://b/?q=1");  // never gets the machine code
  EXPECT_EQ(button.tips, "TP");
}

TEST(ParseConfig, ListsHaveOneEntryPerNumberUpToTheCount) {
  const Parsed p = Parse(
      "[global]\nlinkCount=7\nmenuCount=2\npicCount=-3\ngameButtonCount=2\n"
      "[link1]\nurl=one\n[link2]\nurl=two\nx=5\n[link4]\nurl=four\n[link8]\nurl=eight\n"
      "[gamebutton2]\ntitle=second\n");
  ASSERT_TRUE(p.accepted);
  const ConfigRecord& r = p.record;
  ASSERT_EQ(r.links.size(), 7u);
  EXPECT_EQ(r.links[1].url, "two");
  EXPECT_EQ(r.links[1].x, 5);
  const LinkEntry& third = r.links[2];
  EXPECT_EQ(third.url, "_blank");
  EXPECT_EQ((std::array{third.x, third.y, third.width, third.height, third.type}),
            (std::array{0, 0, 0, 0, 0}));
  EXPECT_EQ(r.links[3].url, "four");
  for (const LinkEntry& link : r.links) EXPECT_NE(link.url, "eight");
  EXPECT_EQ(r.menus.size(), 2u);
  EXPECT_TRUE(r.gamePics.empty());
  ASSERT_EQ(r.gameButtons.size(), 2u);
  EXPECT_EQ(r.gameButtons[0].color, 16777215);
  EXPECT_EQ(r.gameButtons[0].url, "");
  EXPECT_EQ(r.gameButtons[1].title, "second");
}

TEST(ParseConfig, OnlyLinkFiveWithAQuestionMarkGetsTheMachineCode) {
  struct Case {
    const char* what;
    std::string link4, link5, code, expected4, expected5;
  } const cases[] = {
      {"link 5 with '?'", "http://a/?x=1", "http://h/p?u=1", kCode, "http://a/?x=1",
       std::string("http://h/p?u=1&machinecode=") + kCode},
      {"link 5 without '?'", "http://a/", "http://h/p", kCode, "http://a/", "http://h/p"},
      {"no adapter found", "x", "http://h/?", "", "x", "http://h/?&machinecode="},
      {"cut to the field", "x", "http://h/?" + std::string(240, 'q'), kCode, "x",
       ("http://h/?" + std::string(240, 'q') + "&machinecode=" + kCode).substr(0, 255)},
  };
  for (const Case& c : cases) {
    const Parsed p = Parse("[global]\nlinkCount=5\n[link4]\nurl=" + c.link4 + "\n[link5]\nurl=" +
                               c.link5 + "\n",
                           c.code);
    ASSERT_EQ(p.record.links.size(), 5u) << c.what;
    EXPECT_EQ(p.record.links[3].url, c.expected4) << c.what;
    EXPECT_EQ(p.record.links[4].url, c.expected5) << c.what;
    EXPECT_EQ(p.queries, 1) << c.what;
  }
}

TEST(ParseConfig, RefusesFewerThanOneLinkWithoutQueryingTheMachineCode) {
  for (const char* count : {"", "linkCount=0\n", "linkCount=-1\n", "linkCount=\n"}) {
    Parsed p;
    p.record.links.resize(3);  // lists are emptied even when refused
    const std::string text =
        std::string("[global]\nfirstUrl=http://game/start\nmenuCount=2\n") + count +
        "[link1]\nurl=u\n[menu1]\ntitle=m\n";
    IniDocument ini;
    ASSERT_TRUE(ini.Load(text.data(), text.size()));
    p.accepted = ParseConfig(ini, [&] { ++p.queries; return std::string(kCode); }, p.record);
    EXPECT_FALSE(p.accepted) << count;
    EXPECT_EQ(p.queries, 0) << count;
    EXPECT_EQ(p.record.firstUrl, "http://game/start") << count;
    EXPECT_TRUE(p.record.links.empty() && p.record.menus.empty()) << count;
  }
}

TEST(ParseConfig, TextsAreCutToTheirFields) {
  const std::string title(200, 'T');
  // 62 ASCII bytes and "中": the 63-byte limit of gameheader falls inside the character.
  const std::string header = std::string(62, 'h') + "\xD6\xD0";
  const std::string caption = std::string(30, 'c') + "\xB1\xED";  // 32 bytes, "表" cut
  const Parsed p = Parse("[global]\nlinkCount=1\ntitle=" + title + "\ngameheader=" + header +
                         "\nmenuCount=1\n[menu1]\ntitle=" + caption + "\n[link1]\nurl=" +
                         std::string(300, 'u') + "\n");
  EXPECT_EQ(p.record.title, title.substr(0, 127));
  EXPECT_EQ(p.record.gameheader, std::string(62, 'h'));
  ASSERT_EQ(p.record.menus.size(), 1u);
  EXPECT_EQ(p.record.menus[0].title, std::string(30, 'c'));
  EXPECT_EQ(p.record.links[0].url, std::string(255, 'u'));
}

TEST(ParseConfig, HugeCountsAreCappedAndStayFast) {
  const std::string justOver = std::to_string(kMaxListEntries + 1);
  const Parsed over = Parse("[global]\nlinkCount=" + justOver + "\nmenuCount=" + justOver +
                            "\npicCount=" + justOver + "\ngameButtonCount=" + justOver + "\n");
  ASSERT_EQ(over.record.links.size(), static_cast<size_t>(kMaxListEntries));
  ASSERT_EQ(over.record.menus.size(), static_cast<size_t>(kMaxListEntries));
  ASSERT_EQ(over.record.gamePics.size(), static_cast<size_t>(kMaxListEntries));
  ASSERT_EQ(over.record.gameButtons.size(), static_cast<size_t>(kMaxListEntries));

  const auto start = std::chrono::steady_clock::now();
  const Parsed huge = Parse(
      "[global]\nlinkCount=2000000000\nmenuCount=50000000\npicCount=2147483647\n"
      "gameButtonCount=99999999999\n");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(huge.accepted);
  EXPECT_EQ(huge.record.links.size(), static_cast<size_t>(kMaxListEntries));
  EXPECT_EQ(huge.record.menus.size(), static_cast<size_t>(kMaxListEntries));
  EXPECT_EQ(huge.record.gamePics.size(), static_cast<size_t>(kMaxListEntries));
  EXPECT_EQ(huge.record.gameButtons.size(), static_cast<size_t>(kMaxListEntries));
  EXPECT_LT(elapsed, std::chrono::seconds(2));
}

TEST(ParseConfig, ParsingAgainReplacesTheLists) {
  const std::string text = "[global]\nlinkCount=2\nmenuCount=1\npicCount=1\ngameButtonCount=1\n";
  IniDocument ini;
  ASSERT_TRUE(ini.Load(text.data(), text.size()));
  ConfigRecord record;
  const auto code = [] { return std::string(kCode); };
  ASSERT_TRUE(ParseConfig(ini, code, record));
  ASSERT_TRUE(ParseConfig(ini, code, record));
  EXPECT_EQ(record.links.size(), 2u);
  EXPECT_EQ(record.menus.size(), 1u);
  EXPECT_EQ(record.gamePics.size(), 1u);
  EXPECT_EQ(record.gameButtons.size(), 1u);
}

TEST(NumberedName, PlainDecimalWithoutLeadingZeros) {
  EXPECT_EQ(NumberedName(kLinkSectionPrefix, 5), "link5");
  EXPECT_EQ(NumberedName(kEdgeImageKeyPrefix, 10), "edgeImage10");
}

}  // namespace
}  // namespace mc
