#include "package/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace mc {
namespace {

using namespace std::string_literals;

struct Lookup {
  std::string section;
  std::string key;
  std::optional<std::string> value;  // nothing: the lookup must find nothing
};

struct Case {
  const char* what;
  std::string text;
  std::vector<Lookup> lookups;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class IniDialect : public testing::TestWithParam<Case> {};

TEST_P(IniDialect, LooksUpWhatTheTextSays) {
  const Case& c = GetParam();
  IniDocument ini;
  ASSERT_TRUE(ini.Load(c.text.data(), c.text.size()));
  for (const Lookup& l : c.lookups) {
    EXPECT_EQ(ini.Get(l.section, l.key), l.value) << "[" << l.section << "] " << l.key;
  }
}

const std::nullopt_t kAbsent = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rules, IniDialect,
    testing::Values(
        Case{"white space around names and values",
             "  [ global ]  trailing text\n"
             "gameButtonCount =9\n"
             "\ttitlex= 30\n"
             "type=1   \t\n"
             "[my  sec]\nk = a b \n",
             {{"global", "gameButtonCount", "9"},
              {"global", "titlex", "30"},
              {"global", "type", "1"},
              {"my  sec", "k", "a b"},
              {"my sec", "k", kAbsent}}},
        Case{"values keep '=', ';', '#', minus and may be empty",
             "[link1]\nurl=http://h/a?b=c&d=e\nx=-28\ntype=4 ;note\ntip=#1\nempty=\n",
             {{"link1", "url", "http://h/a?b=c&d=e"},
              {"link1", "x", "-28"},
              {"link1", "type", "4 ;note"},
              {"link1", "tip", "#1"},
              {"link1", "empty", ""}}},
        Case{"comment lines and lines without '=' are skipped",
             ";a=1\r\n\r\n# b=2\r\n  ;c=3\r\nd=4\r\nno value here\r\n=5\r\n  = 6\r\ne=7\r\n",
             {{"", "a", kAbsent},
              {"", "b", kAbsent},
              {"", "c", kAbsent},
              {"", "d", "4"},
              {"", "no value here", kAbsent},
              {"", "", kAbsent},
              {"", "e", "7"}}},
        Case{"a header without ']' hides the entries up to the next valid header",
             "[link2]\nx=1\n[link3\nurl=lost\n;comment\ny=2\n[link4]\nz=3\n",
             {{"link2", "x", "1"},
              {"link2", "url", kAbsent},
              {"link2", "y", kAbsent},
              {"link3", "url", kAbsent},
              {"link3", "y", kAbsent},
              {"", "url", kAbsent},
              {"link4", "z", "3"}}},
        Case{"a line of '[' and blanks is a broken header, not joined to the next line",
             "[link0]\nq=0\n[\nlink1]\nurl=a\n[ \t\r\n[link2]\nurl=b\n",
             {{"link0", "q", "0"},
              {"link0", "url", kAbsent},
              {"link1", "url", kAbsent},
              {"link2", "url", "b"}}},
        Case{"a NUL ends the text",
             "[g]\na=1\nc=xy\0z\nb=2\n"s,
             {{"g", "a", "1"}, {"g", "c", "xy"}, {"g", "b", kAbsent}}},
        Case{"CR-only line ends", "[g]\ra=1\r\rb=2\r", {{"g", "a", "1"}, {"g", "b", "2"}}},
        Case{"CRLF line ends", "[g]\r\na=1\r\n\r\nb=2\r\n", {{"g", "a", "1"}, {"g", "b", "2"}}},
        Case{"mixed line ends", "[g]\na=1\rb=2\r\nc=3", {{"g", "a", "1"}, {"g", "b", "2"},
                                                         {"g", "c", "3"}}},
        Case{"a UTF-8 byte-order mark is part of the first line",
             "\xEF\xBB\xBF[global]\nlinkCount=3\n",
             {{"global", "linkCount", kAbsent}, {"", "linkCount", "3"}}},
        Case{"a byte-order mark before a key becomes part of the key",
             "\xEF\xBB\xBF" "a=1\n",
             {{"", "a", kAbsent}, {"", "\xEF\xBB\xBF" "a", "1"}}},
        Case{"a repeated section continues and the last value of a key wins",
             "[link1]\nurl=a\nx=1\n[link2]\nurl=c\n[LINK1]\nURL=b\ny=2\n",
             {{"link1", "url", "b"}, {"link1", "x", "1"}, {"link1", "y", "2"},
              {"link2", "url", "c"}}},
        Case{"'<<<' starts no multi-line value",
             "[g]\na=<<<END\nb=2\nEND\n",
             {{"g", "a", "<<<END"}, {"g", "b", "2"}}},
        Case{"names ignore ASCII case",
             "[Global]\nLinkCount=2\n[gamePic1]\nX=5\n",
             {{"global", "linkcount", "2"}, {"GLOBAL", "LINKCOUNT", "2"},
              {"gamepic1", "x", "5"}}},
        Case{"double-byte characters compare whole: a trail byte 'A' is not 'a'",
             "[\xB0\x41sec]\n\xB0\x41key=1\n",
             {{"\xB0\x41SEC", "\xB0\x41KEY", "1"},
              {"\xB0\x61sec", "\xB0\x41key", kAbsent},
              {"\xB0\x41sec", "\xB0\x61key", kAbsent}}}));

TEST(IniDocument, LoadNeverFailsOnText) {
  IniDocument ini;
  EXPECT_TRUE(ini.Load(nullptr, 0));
  EXPECT_TRUE(ini.Load("", 0));
  const std::string junk = "\xFF\xFE[\n]]]=\r\r\n\0\0"s;
  EXPECT_TRUE(ini.Load(junk.data(), junk.size()));
}

TEST(IniDocument, LoadReplacesTheEarlierText) {
  IniDocument ini;
  const std::string first = "[a]\nx=1\n", second = "[b]\ny=2\n";
  ASSERT_TRUE(ini.Load(first.data(), first.size()));
  ASSERT_TRUE(ini.Load(second.data(), second.size()));
  EXPECT_EQ(ini.Get("a", "x"), std::nullopt);
  EXPECT_EQ(ini.Get("b", "y"), "2");
  EXPECT_TRUE(ini.HasSection("B"));
  EXPECT_FALSE(ini.HasSection("a"));
}

TEST(GbkNoCase, IsAStrictWeakOrder) {
  // The names a std::map keys on; a comparator that is not a strict weak order corrupts it.
  const char* names[] = {"", "a", "A", "b", "ab", "AB", "\xB0\x41", "\xB0\x61", "\xB0",
                         "\xB0\x41x", "\xB0\x41X", "\x81\x40", "\xFF", "link1", "LINK10"};
  const GbkNoCase less;
  for (const char* a : names) {
    EXPECT_FALSE(less(a, a));
    for (const char* b : names) {
      EXPECT_FALSE(less(a, b) && less(b, a));
      const bool equivalent = !less(a, b) && !less(b, a);
      for (const char* c : names) {
        if (less(a, b) && less(b, c)) {
          EXPECT_TRUE(less(a, c));
        }
        if (equivalent && !less(b, c) && !less(c, b)) {
          EXPECT_TRUE(!less(a, c) && !less(c, a));
        }
      }
    }
  }
  EXPECT_FALSE(less("\xB0\x41x", "\xB0\x41X") || less("\xB0\x41X", "\xB0\x41x"));
  EXPECT_TRUE(less("\xB0\x41", "\xB0\x61") != less("\xB0\x61", "\xB0\x41"));
}

}  // namespace
}  // namespace mc
