// The texts of the self-update: version file, addresses, local names and the update scripts.
#include <gtest/gtest.h>

#include "update/update_script.h"
#include "update/update_url.h"
#include "update/version_file.h"

namespace mc {
namespace {

TEST(UpdateVersion, ParsesMajorAndMinor) {
  struct Case {
    const char* text;
    int32_t major, minor;
  } cases[] = {
      {"1.30", 1, 30},  {"1.4", 1, 4},     {"2", 2, 0},     {"1.30.7", 1, 30},
      {"..1..5", 1, 5}, {"", 0, 0},        {"abc", 0, 0},   {"version 2.0", 0, 0},
      {" 1. 5", 1, 5},  {"-1.+2", -1, 2},  {"3x.7y", 3, 7}, {"99999999999.1", INT32_MAX, 1},
      {".", 0, 0},      {"\x89PNG", 0, 0},
  };
  for (const Case& c : cases) {
    const Version v = ParseVersion(c.text);
    EXPECT_EQ(v.major, c.major) << c.text;
    EXPECT_EQ(v.minor, c.minor) << c.text;
  }
}

TEST(UpdateVersion, NewerOnlyByMajorThenMinor) {
  struct Case {
    const char* local;
    const char* published;
    bool newer;
  } cases[] = {
      {"1.30", "1.4", false},  // 4 < 30: the minor is a number, not a decimal fraction
      {"1.30", "2", true},     {"1.30", "1.30.7", false}, {"1.30", "1.31", true},
      {"1.30", "1.30", false}, {"1.30", "", false},       {"1.30", "new", false},
      {"2.0", "1.99", false},  {"0.0", "0.1", true},      {"-1.0", "", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsNewerVersion(ParseVersion(c.published), ParseVersion(c.local)), c.newer)
        << c.local << " -> " << c.published;
}

TEST(UpdateVersion, FirstLineOfTheFile) {
  struct Case {
    std::string head, line;
  } cases[] = {
      {"1.31\r\n9.9\r\n", "1.31"},
      {"1.31\n", "1.31"},
      {"2.0", "2.0"},
      {"\r\n2.0", ""},
      {std::string("1.5") + '\0' + "9.9",
       "1.5"},
      {std::string(300, '7'), std::string(kVersionLineMax, '7')},
  };
  for (const Case& c : cases) EXPECT_EQ(VersionLine(c.head), c.line);
}

TEST(UpdateUrl, BuildsSchemeHostPortPath) {
  struct Case {
    const char* host;
    int32_t port;
    const char* path;
    const char* url;
  } cases[] = {
      {"", 80, "/v.txt", ""},
      {"update.example", 80, "/v.txt", "http://update.example:80/v.txt"},
      {"HTTP://Update.example", 8080, "/v.txt", "HTTP://Update.example:8080/v.txt"},
      {"https://update.example", 443, "/v.txt", "https://update.example:443/v.txt"},
      {"HttpS://update.example", 443, "/v.txt", "HttpS://update.example:443/v.txt"},
      {"httpsx.example", 80, "/v", "http://httpsx.example:80/v"},
      {"h", -1, "v.txt", "http://h:-1v.txt"},  // appended unchanged
      {"h", 80, "/a b/c d.txt", "http://h:80/a b/c d.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildUrl(c.host, c.port, c.path), c.url) << c.host;
}

TEST(UpdateUrl, EscapesWhatHttpCannotCarry) {
  EXPECT_EQ(EscapeUnsafeUrlBytes("http://h:80/a b/%41?x=1&y=\x7F\x01"),
            "http://h:80/a%20b/%41?x=1&y=%7F%01");
  EXPECT_EQ(EscapeUnsafeUrlBytes("/\xD0\xC2\xB0\xE6.exe"), "/%D0%C2%B0%E6.exe");
}

TEST(UpdateUrl, FileNameIsTheLastPathPiece) {
  struct Case {
    std::string path, name;
  } cases[] = {
      {"/download/client.exe", "client.exe"},
      {"client.exe", "client.exe"},
      {"/a\\b/c.exe", "c.exe"},
      {"/a/b\\c.exe", "c.exe"},
      {"/dir/", ""},
      {"/get?file=x.exe", "get?file=x.exe"},
      // 0x95 0x5C is one GBK character; its trail byte is no separator.
      {"/d/\x95\x5C.exe", "\x95\x5C.exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameFromUrl(c.path), c.name) << c.path;
}

TEST(UpdateScript, BatchFileByteForByte) {
  EXPECT_EQ(BatchScriptText("C:\\A B\\x.exe", "C:\\A B\\123x.exe", "Launcher_back_up.exe"),
            "@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n"
            "rename \"C:\\\\A B\\\\x.exe\" \"Launcher_back_up.exe\"\r\n"
            "rename  \"C:\\\\A B\\\\123x.exe\" \"x.exe\"\r\n"
            "if not exist \"C:\\\\A B\\\\x.exe\" rename \"C:\\\\A B\\\\Launcher_back_up.exe\" \"x.exe\"\r\n"
            "\"C:\\\\A B\\\\x.exe\"\r\n");
}

TEST(UpdateScript, BatchFileKeepsTheRunningNameAndEscapesPercent) {
  // Current directory elsewhere: the download keeps its folder and takes the running name.
  EXPECT_EQ(BatchScriptText("D:\\100%\\my game.exe", "C:\\work\\-5client.exe", "B.exe"),
            "@ping 127.0.0.1 -n 2 -w 1000 > nul \r\n"
            "rename \"D:\\\\100%%\\\\my game.exe\" \"B.exe\"\r\n"
            "rename  \"C:\\\\work\\\\-5client.exe\" \"my game.exe\"\r\n"
            "if not exist \"D:\\\\100%%\\\\my game.exe\" rename \"D:\\\\100%%\\\\B.exe\" \"my game.exe\"\r\n"
            "\"D:\\\\100%%\\\\my game.exe\"\r\n");
}

TEST(UpdateScript, BatchFileLeavesGbkTrailBackslashes) {
  // "\x95\x5C" is one character: its 0x5C is no path separator and must not be doubled.
  const std::string program = "C:\\\x95\x5C\\x\x95\x5C.exe";
  const std::string text = BatchScriptText(program, "C:\\\x95\x5C\\1x.exe", "B.exe");
  EXPECT_NE(text.find("rename \"C:\\\\\x95\x5C\\\\x\x95\x5C.exe\" \"B.exe\"\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\" \"x\x95\x5C.exe\"\r\n"), std::string::npos) << text;
  // With a single-byte code page the same bytes are two characters.
  EXPECT_EQ(DoubleBackslashes("\x95\x5C", [](unsigned char) { return false; }), "\x95\x5C\x5C");
}

TEST(UpdateScript, ShellScriptQuotesEveryPath) {
  EXPECT_EQ(
      ShellScriptText("/opt/it's $x/`c` \\d/client", "/run/d/-7client", "Launcher_back_up"),
      "sleep 1\n"
      "mv -f -- '/opt/it'\\''s $x/`c` \\d/client' '/opt/it'\\''s $x/`c` \\d/Launcher_back_up'\n"
      "mv -f -- '/run/d/-7client' '/run/d/client' || mv -f -- "
      "'/opt/it'\\''s $x/`c` \\d/Launcher_back_up' '/opt/it'\\''s $x/`c` \\d/client'\n"
      "exec '/opt/it'\\''s $x/`c` \\d/client'\n");
}

}  // namespace
}  // namespace mc
