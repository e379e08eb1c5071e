#include "package/gbk.h"

#include <gtest/gtest.h>

#include <string>

namespace mc {
namespace {

// "中" is D6 D0; "表" is B1 ED, whose trail byte lies in the lead-byte range;
// 95 5C is a character whose trail byte is '\\'.

TEST(CutToField, KeepsWholeCharactersWithinTheField) {
  struct Case {
    std::string text;
    size_t field;
    std::string expected;
  } const cases[] = {
      {"abc", 4, "abc"},
      {"abcd", 4, "abc"},
      {"abc", 0, ""},
      {"abc", 1, ""},
      // The cut falls inside "中": its lead byte is dropped.
      {"a\xD6\xD0", 3, "a"},
      {"\xD6\xD0\xD6\xD0", 4, "\xD6\xD0"},
      // Only a scan from the start knows ED is a trail byte here and keeps "表" whole.
      {"a\xB1\xED" "b", 4, "a\xB1\xED"},
      {"\xB1\xED\xB1\xED", 4, "\xB1\xED"},
      // A trail byte that is an ASCII letter still belongs to its character.
      {"ab\xB0\x41\x43", 4, "ab"},
      // A text that fits is kept as it is.
      {"ab\xD6", 8, "ab\xD6"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutToField(c.text, c.field), c.expected) << "field " << c.field;
  }
}

TEST(CutToField, TitleOf200BytesKeepsItsFirst127) {
  std::string title;
  for (int i = 0; i < 200; ++i) title += static_cast<char>('a' + i % 26);
  EXPECT_EQ(CutToField(title, 128), title.substr(0, 127));
}

TEST(FindLastOf, SkipsTrailBytesEqualToTheCharacter) {
  const std::string path = "C:\\games\\\x95\x5C" "a.exe";
  EXPECT_EQ(FindLastOf(path, '\\'), 8u);
  EXPECT_EQ(FindLastOf(path, '.'), path.size() - 4);
  EXPECT_EQ(FindLastOf("\x95\x5C", '\\'), std::string_view::npos);
  EXPECT_EQ(FindLastOf("", '\\'), std::string_view::npos);
  EXPECT_EQ(FindLastOf("\xB1\xED\\", '\\'), 2u);
}

TEST(IsValidGbk, AcceptsAsciiAndWellFormedPairsOnly) {
  struct Case {
    std::string text;
    bool valid;
  } const cases[] = {
      {"", true},
      {"plain ascii=1", true},
      {"\xD6\xD0\xCE\xC4", true},
      {"\x81\x40\xFE\xFE\xB0\x41", true},
      {"\xD6", false},          // lead byte at the end
      {"a\xD6\x20", false},     // trail byte out of range
      {"\xD6\x7F", false},
      {"\x80", false},
      {"\xFF", false},
      {"\x81\x30\x81\x30", false},  // four-byte GB18030 form is not GBK
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidGbk(c.text), c.valid) << testing::PrintToString(c.text);
  }
}

}  // namespace
}  // namespace mc
