#include "package/package_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "minisign_fixture.h"

namespace mc {
namespace {

// A small clean package. Button picture 1 is 10 high with its three states 2 apart, so it
// needs exactly the 34 rows of the sprite; the test texts below rely on these line numbers.
constexpr char kConfig[] =
    "[global]\n"                // 1
    "title=Test\n"              // 2
    "version=1.0\n"             // 3
    "linkCount=2\n"             // 4
    "picCount=2\n"              // 5
    "gameButtonCount=1\n"       // 6
    "menuCount=1\n"             // 7
    "edgeImage1=2\n"            // 8
    "edgeImage2=2\n"            // 9
    "edgeImage3=2\n"            // 10
    "edgeImage4=2\n"            // 11
    "edgeImage5=2\n"            // 12
    "edgeImage6=2\n"            // 13
    "edgeImage7=2\n"            // 14
    "edgeImage8=2\n"            // 15
    "[link1]\n"                 // 16
    "type=1\n"                  // 17
    "url=http://a/?x\n"         // 18
    "[link2]\n"                 // 19
    "type=4\n"                  // 20
    "url=http://a/page\n"       // 21
    "[gamePic1]\n"              // 22
    "x=0\n"                     // 23
    "y=0\n"                     // 24
    "width=10\n"                // 25
    "height=10\n"               // 26
    "interval=2\n"              // 27
    "[gamePic2]\n"              // 28
    "x=10\n"                    // 29
    "y=0\n"                     // 30
    "width=5\n"                 // 31
    "height=5\n"                // 32
    "[gamebutton1]\n"           // 33
    "type=5\n"                  // 34
    "image=1\n"                 // 35
    "tips=\xB9\xD8\xB1\xD5\n"   // 36
    "[menu1]\n"                 // 37
    "title=\xB0\xE6\xB1\xBE\n"  // 38
    "type=4\n";                 // 39

using Entries = std::map<std::string, std::string>;

// Pictures are texts "PNG WxH" for the fake decoder; anything else does not decode.
Entries CleanPackage() {
  return {{"config/cg.txt", kConfig},        {"config/main1.png", "PNG 100x50"},
          {"config/style.png", "PNG 20x34"}, {"config/logo.png", "PNG 4x4"},
          {"config/1_n.png", "PNG 8x8"},     {"config/1_d.png", "PNG 8x8"}};
}

std::vector<PackageProblem> Check(const Entries& entries) {
  return CheckPackage(
      [&entries](const std::string& name) -> std::optional<std::vector<uint8_t>> {
        const auto it = entries.find(name);
        if (it == entries.end()) return std::nullopt;
        return std::vector<uint8_t>(it->second.begin(), it->second.end());
      },
      [](const std::vector<uint8_t>& png, int& width, int& height) {
        const std::string text(png.begin(), png.end());
        return std::sscanf(text.c_str(), "PNG %dx%d", &width, &height) == 2;
      });
}

std::string Describe(const std::vector<PackageProblem>& problems) {
  std::ostringstream out;
  for (const PackageProblem& p : problems)
    out << "\n  " << p.file << ':' << p.line << (p.stopsClient ? " [stops] " : " ") << p.message;
  return out.str();
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

struct Expected {
  const char* file;
  int line;
  const char* fragment;  // part of the message
  bool stopsClient = false;
  const char* section = "";  // what the problem is about
  const char* key = "";
};

TEST(PackageCheck, CleanPackageHasNoProblem) {
  const std::vector<PackageProblem> problems = Check(CleanPackage());
  EXPECT_TRUE(problems.empty()) << Describe(problems);
}

TEST(PackageCheck, ReportsEachFaultWithItsFileAndLine) {
  constexpr char kCg[] = "config/cg.txt";
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> edits;  // first occurrence in cg.txt
    Entries entries;  // replaces (or, with "-", removes) package entries
    std::vector<Expected> expected;
  };
  const std::string longUrl = "url=http://a/?" + std::string(230, 'x');
  const Case cases[] = {
      {"byte-order mark before [global]",
       {{"[global]", "\xEF\xBB\xBF[global]"}},
       {},
       {{kCg, 0, "linkCount is missing from [global]", true},
        {kCg, 1, "byte-order mark: the client reads it as part of line 1, so the header"}}},
      {"header without ] hides the keys after it",
       {{"edgeImage3=2", "edgeImage3=3"}, {"[link1]", "[link1\nedgeImage3=2"}},
       {},
       {{kCg, 4, "linkCount is 2 but [link1] is missing"},
        {kCg, 10, "edgeImage3 is 3", false, "global", "edgeImage3"},
        {kCg, 16, "\"[link1\" has no \"]\""}}},
      {"linkCount below 1",
       {{"linkCount=2", "linkCount=0"}},
       {},
       {{kCg, 4, "linkCount is 0, below 1", true}}},
      {"count naming a missing section",
       {{"picCount=2", "picCount=3"}},
       {},
       {{kCg, 5, "picCount is 3 but [gamePic3] is missing"}}},
      {"section beyond its count",
       {{"menuCount=1", "menuCount=0"}},
       {},
       {{kCg, 37, "[menu1] is not read: menuCount is 0"}}},
      {"count above the list limit",
       {{"menuCount=1", "menuCount=1001"}},
       {},
       {{kCg, 7, "menuCount is 1001: the client reads only the first 1000"},
        {kCg, 7, "[menu2], [menu3], [menu4], [menu5], [menu6] and 994 more are missing"}}},
      {"edge pieces naming no picture",
       {{"edgeImage3=2", "edgeImage3=3"}, {"edgeImage8=2\n", ""}},
       {},
       {{kCg, 1, "edgeImage8 is missing and defaults to 9: no such picture (picCount is 2)", false,
         "global", "edgeImage8"},
        {kCg, 10, "edgeImage3 is 3: no such picture", false, "global", "edgeImage3"}}},
      {"button picture out of range",
       {{"image=1", "image=3"}},
       {},
       {{kCg, 35, "[gamebutton1] image 3: no such picture (picCount is 2), the button is not made",
         false, "gamebutton1", "image"}}},
      {"missing pressed image of a button link",
       {},
       {{"config/1_d.png", "-"}},
       {{kCg, 17, "[link1] (type 1) needs config/1_d.png, which is missing", false, "link1",
         "type"}}},
      {"close link needs images too, a page area none",
       {{"type=4", "type=3"}},
       {},
       {{kCg, 20, "[link2] (type 3) needs config/2_n.png", false, "link2", "type"},
        {kCg, 20, "[link2] (type 3) needs config/2_d.png", false, "link2", "type"}}},
      {"button image that does not decode",
       {},
       {{"config/1_n.png", "GIF89a"}},
       {{"config/1_n.png", 0, "does not decode as a PNG image"}}},
      {"text cut at a whole GBK character",
       {{"title=Test", "title=" + std::string(126, 'T') + "\xB2\xE2"}},
       {},
       {{kCg, 2, "title is 128 bytes, longer than its field: the client cuts it to 126", false,
         "global", "title"}}},
      {"text that is not GBK",
       {{"tips=\xB9\xD8\xB1\xD5", "tips=\xE5\x85\xB3"}},
       {},
       {{kCg, 36, "[gamebutton1] tips is not valid GBK text", false, "gamebutton1", "tips"}}},
      {"version menu text too long",
       {{"version=1.0", "version=" + std::string(60, 'v')}},
       {},
       {{kCg, 38, "[menu1] title and version together are 64 bytes", false, "menu1", "title"}}},
      {"machine code cut from link 5",
       {{"linkCount=2", "linkCount=5"},
        {"[gamePic1]", "[link3]\n[link4]\n[link5]\n" + longUrl + "\n[gamePic1]"}},
       {},
       {{kCg, 25, "[link5] url with the machine code is 265 bytes: the client cuts it to 255",
         false, "link5", "url"}}},
      {"button states reaching below the sprite",
       {},
       {{"config/style.png", "PNG 20x33"}},
       {{kCg, 22,
         "[gamePic1] (x 0, y 0, 10 x 10, 3 button states 2 apart) reaches outside "
         "config/style.png (20 x 33)",
         false, "gamePic1"}}},
      {"empty picture", {{"width=5", "width=0"}}, {}, {{kCg, 28, "[gamePic2] is empty (0 x 5)", false, "gamePic2"}}},
      {"missing configuration",
       {},
       {{"config/cg.txt", "-"}},
       {{kCg, 0, "missing: the client does not start", true}}},
      {"missing pictures of the package",
       {},
       {{"config/main1.png", "-"}, {"config/style.png", "-"}, {"config/logo.png", "-"}},
       {{"config/main1.png", 0, "missing: the client does not start", true},
        {"config/style.png", 0, "missing: the game window stops"},
        {"config/logo.png", 0, "missing: the game window stops"}}},
      {"sprite that does not decode",
       {},
       {{"config/style.png", "PNG"}},
       {{"config/style.png", 0, "does not decode as a PNG image"}}},
      {"update key as minisign writes it",
       {},
       {{"config/update.pub", fixture::MinisignSigner(1).PublicKeyFile("\r\n")}},
       {}},
      {"update key that does not parse",
       {},
       {{"config/update.pub", "untrusted comment: key\nRWQ=\n"}},
       {{"config/update.pub", 2,
         "not the base64 text of a minisign public key: the client installs no update"}}},
      {"empty update key",
       {},
       {{"config/update.pub", ""}},
       {{"config/update.pub", 0, "empty: not a minisign public key"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Entries entries = CleanPackage();
    for (const auto& [from, to] : c.edits) Replace(entries["config/cg.txt"], from, to);
    for (const auto& [name, content] : c.entries) {
      if (content == "-") {
        entries.erase(name);
      } else {
        entries[name] = content;
      }
    }
    const std::vector<PackageProblem> problems = Check(entries);
    ASSERT_EQ(problems.size(), c.expected.size()) << Describe(problems);
    for (size_t i = 0; i < problems.size(); ++i) {
      const Expected& e = c.expected[i];
      EXPECT_EQ(problems[i].file, e.file) << Describe(problems);
      EXPECT_EQ(problems[i].line, e.line) << Describe(problems);
      EXPECT_NE(problems[i].message.find(e.fragment), std::string::npos) << Describe(problems);
      EXPECT_EQ(problems[i].stopsClient, e.stopsClient) << Describe(problems);
      EXPECT_EQ(problems[i].section, e.section) << Describe(problems);
      EXPECT_EQ(problems[i].key, e.key) << Describe(problems);
    }
  }
}

TEST(PackageCheck, CountsLinesAndMatchesNamesAsTheClientDoes) {
  struct Case {
    const char* what;
    const char* lineEnd;
    bool upperCaseNames;
  } const cases[] = {{"LF", "\n", false},
                     {"CR LF", "\r\n", false},
                     {"CR", "\r", false},
                     {"names in another letter case", "\n", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Entries entries = CleanPackage();
    std::string text;
    for (const char ch : std::string(kConfig)) {
      if (ch == '\n')
        text += c.lineEnd;
      else
        text += ch;
    }
    if (c.upperCaseNames) {
      Replace(text, "[gamebutton1]", "[GAMEBUTTON1]");
      Replace(text, "image=1", "IMAGE=1");
    }
    Replace(text, "=1" + std::string(c.lineEnd) + "tips", "=7" + std::string(c.lineEnd) + "tips");
    entries["config/cg.txt"] = text;
    const std::vector<PackageProblem> problems = Check(entries);
    ASSERT_EQ(problems.size(), 1u) << Describe(problems);
    EXPECT_EQ(problems[0].line, 35);
    EXPECT_NE(problems[0].message.find("image 7"), std::string::npos) << Describe(problems);
  }
}

}  // namespace
}  // namespace mc
