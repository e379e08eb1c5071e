#include "app/desktop_shortcut.h"

#include <gtest/gtest.h>

#include "app/desktop_entry.h"
#include "fake_app_host.h"

namespace mc {
namespace {

using fixture::FakeAppHost;

TEST(EnsureDesktopShortcut, WritesOnlyWhenNoShortcutTargetsTheProgramExactly) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> shortcuts;
    bool writes;
  };
  const Case cases[] = {
      {"empty desktop", {}, true},
      {"any name pointing at the program", {{"other.lnk", "C:\\games\\client.exe"}}, false},
      {"target differs in case only", {{"x.lnk", "C:\\Games\\client.exe"}}, true},
      {"own name pointing elsewhere is replaced", {{"client.lnk", "C:\\other.exe"}}, true},
  };
  for (const Case& c : cases) {
    FakeAppHost host;
    host.shortcuts = c.shortcuts;
    EnsureDesktopShortcut(host, "C:\\games");
    ASSERT_EQ(host.written.size(), c.writes ? 1u : 0u) << c.what;
    if (c.writes) {
      EXPECT_EQ(host.written[0].first, "C:\\Users\\me\\Desktop\\client.lnk");
      EXPECT_EQ(host.written[0].second, "C:\\games\\client.exe");
    }
  }
}

TEST(EnsureDesktopShortcut, RunningFromTheDesktopDoesNothing) {
  FakeAppHost host;
  EnsureDesktopShortcut(host, "C:\\Users\\me\\Desktop");
  EXPECT_FALSE(host.listed);
  EXPECT_TRUE(host.written.empty());
  // A trailing separator makes the folders differ.
  EnsureDesktopShortcut(host, "C:\\Users\\me\\Desktop\\");
  EXPECT_EQ(host.written.size(), 1u);
}

TEST(EnsureDesktopShortcut, NoDesktopFolderDoesNothing) {
  FakeAppHost host;
  host.desktop = std::nullopt;
  EnsureDesktopShortcut(host, "C:\\games");
  EXPECT_TRUE(host.written.empty());
}

TEST(FindShortcutTo, ExaminesAtMost1001ShortcutsCountingUnreadableOnes) {
  FakeAppHost host;
  for (int i = 0; i < 1001; ++i) host.unreadableShortcuts.push_back("bad" + std::to_string(i));
  host.shortcuts = {{"zz.lnk", "C:\\games\\client.exe"}};  // listed after the 1001 bad ones
  EXPECT_FALSE(FindShortcutTo(host, "C:\\games\\client.exe", *host.desktop));
  EXPECT_EQ(host.shortcutsOpened, 1001);
  host.unreadableShortcuts.pop_back();
  EXPECT_TRUE(FindShortcutTo(host, "C:\\games\\client.exe", *host.desktop));
}

TEST(DesktopEntry, ProgramRoundTripsThroughTheEntryText) {
  const char* programs[] = {
      "/opt/game/client",
      "/home/a b/my \"client\"",
      "/tmp/$HOME/`id`/back\\slash/100%/x;y&z",
      " /lead/space",
      "/tmp/tab\there",
  };
  for (const char* program : programs) {
    const std::string text = DesktopEntryText("name", program);
    EXPECT_EQ(DesktopEntryProgram(text), std::optional<std::string>(program)) << text;
  }
}

// GIO looks the first word of Exec up before it turns "%%" into "%": a path with "%" must not
// be that word, or the entry never loads.
TEST(DesktopEntry, ExecStartsWithAFindableProgram) {
  struct Case {
    const char* program;
    const char* exec;
  } cases[] = {
      {"/opt/game/client", "Exec=\"/opt/game/client\""},
      {"/opt/100%/client", "Exec=/bin/sh -c \"exec \\\\\"\\\\$0\\\\\"\" \"/opt/100%%/client\""},
      {"/opt/a%b/$x", "Exec=/bin/sh -c \"exec \\\\\"\\\\$0\\\\\"\" \"/opt/a%%b/\\\\$x\""},
  };
  for (const Case& c : cases) {
    const std::string text = DesktopEntryText("n", c.program);
    EXPECT_NE(text.find(std::string("\n") + c.exec + "\n"), std::string::npos) << text;
    EXPECT_EQ(DesktopEntryProgram(text), std::optional<std::string>(c.program)) << text;
  }
}

TEST(DesktopEntry, StartsTheProgramInItsOwnFolder) {
  EXPECT_NE(DesktopEntryText("n", "/opt/a b/client").find("\nPath=/opt/a b\n"), std::string::npos);
  EXPECT_NE(DesktopEntryText("n", "/tmp/back\\slash/c").find("\nPath=/tmp/back\\\\slash\n"),
            std::string::npos);
  EXPECT_EQ(DesktopEntryText("n", "client").find("Path="), std::string::npos);
}

TEST(DesktopEntry, ProgramOfForeignEntries) {
  struct Case {
    const char* text;
    std::optional<std::string> program;
  };
  const Case cases[] = {
      {"[Desktop Entry]\nExec=/usr/bin/gedit %U\n", "/usr/bin/gedit"},
      {"[Desktop Entry]\nExec=\"/a b/c\" --x\n", "/a b/c"},
      {"[Other]\nExec=/usr/bin/x\n", std::nullopt},
      {"[Desktop Entry]\nName=x\n", std::nullopt},
      {"[Desktop Entry]\nExec=\"/unterminated\n", std::nullopt},
      {"[Desktop Entry]\nExec=/first\n[Desktop Action a]\nExec=/second\n", "/first"},
      {"[Desktop Entry]\nExec=sh -c \"exec \\\\\"\\\\$0\\\\\"\" /x%%y\n", "/x%y"},
      {"[Desktop Entry]\nExec=/bin/sh -c \"other\" /x\n", "/bin/sh"},
      {"[Desktop Entry]\nExec=/usr/bin/x%%y --z\n", "/usr/bin/x%y"},
      {"[Desktop Entry]\nExec=\n", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(DesktopEntryProgram(c.text), c.program) << c.text;
}

}  // namespace
}  // namespace mc
