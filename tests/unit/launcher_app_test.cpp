#include "app/launcher_app.h"

#include <gtest/gtest.h>

#include "base/messages.h"
#include "fake_app_host.h"
#include "zip_fixture.h"

namespace mc {
namespace {

using fixture::Bytes;
using fixture::FakeAppHost;
using fixture::Stored;

const char kConfig[] = "[global]\r\ntitle=T\r\nlinkCount=1\r\n[link1]\r\nurl=http://a/\r\n";

std::vector<uint8_t> Package(const std::string& config, bool withBackground = true) {
  std::vector<fixture::ZipEntry> entries;
  if (!config.empty()) entries.push_back(Stored("config/cg.txt", Bytes(config)));
  if (withBackground) entries.push_back(Stored("config/main1.png", Bytes("not really a png")));
  return fixture::BuildZip(entries);
}

struct Outcome {
  std::vector<std::string> messages;
  std::vector<std::string> events;
};

Outcome Start(FakeAppHost& host) {
  LauncherApp app(host, host);
  app.InitInstance();
  return {host.messages, host.events};
}

std::string Message(const char* text) { return std::string(text::kStartupFailedTitle) + "|" + text; }

TEST(StartupSequence, FailuresShowTheirMessageAndOpenNoWindow) {
  struct Case {
    const char* what;
    std::vector<uint8_t> program;
    MapError mapError;
    std::vector<std::string> messages;
  };
  const std::vector<uint8_t> nothingAppended = fixture::PeProgramWith({});
  const Case cases[] = {
      {"own file not openable", fixture::PeProgramWith(Package(kConfig)), MapError::kCannotOpen, {}},
      {"mapping fails", fixture::PeProgramWith(Package(kConfig)), MapError::kMappingFailed,
       {Message(text::kCreateMapFileFail)}},
      {"view fails", fixture::PeProgramWith(Package(kConfig)), MapError::kViewFailed, {}},
      {"nothing after the image", nothingAppended, MapError::kNone,
       {Message(text::kNoAppendedPackage)}},
      {"tail is no ZIP", fixture::PeProgramWith(std::vector<uint8_t>(600, 0x30)), MapError::kNone,
       {Message(text::kOpenZipFailed)}},
      {"no config/cg.txt", fixture::PeProgramWith(Package("")), MapError::kNone,
       {Message(text::kReadIniFailed)}},
      {"no background, even with firstUrl",
       fixture::PeProgramWith(Package("[global]\nlinkCount=1\nfirstUrl=http://g/\n", false)),
       MapError::kNone, {Message(text::kReadImageFailed)}},
      {"no links: silent, even with firstUrl",
       fixture::PeProgramWith(Package("[global]\nlinkCount=0\nfirstUrl=http://g/\n")),
       MapError::kNone, {}},
  };
  for (const Case& c : cases) {
    FakeAppHost host;
    host.program = c.program;
    host.mapError = c.mapError;
    const Outcome run = Start(host);
    EXPECT_EQ(run.messages, c.messages) << c.what;
    EXPECT_TRUE(run.events.empty()) << c.what;
  }
}

TEST(StartupSequence, EntryNamesAreCaseSensitive) {
  FakeAppHost host;
  host.program = fixture::PeProgramWith(fixture::BuildZip(
      {Stored("Config/cg.txt", Bytes(kConfig)), Stored("config\\cg.txt", Bytes(kConfig)),
       Stored("config/main1.png", Bytes("x"))}));
  EXPECT_EQ(Start(host).messages, std::vector<std::string>{Message(text::kReadIniFailed)});
}

TEST(StartupSequence, FirstUrlLongerThanTwoBytesSkipsTheLauncher) {
  struct Case {
    std::string firstUrl;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"", {"launcher"}},
      {"ab", {"launcher"}},
      {"abc", {"game:abc"}},
  };
  for (const Case& c : cases) {
    FakeAppHost host;
    host.program = fixture::PeProgramWith(
        Package(std::string(kConfig) + "[global]\nfirstUrl=" + c.firstUrl + "\n"));
    const Outcome run = Start(host);
    EXPECT_EQ(run.events, c.events) << c.firstUrl;
    EXPECT_TRUE(run.messages.empty());
  }
}

TEST(StartupSequence, CapturedAddressReachesTheGameCutTo255Bytes) {
  FakeAppHost host;
  host.program = fixture::PeProgramWith(Package(kConfig));
  host.launcherCaptures = "http://game/" + std::string(300, 'x');
  const Outcome run = Start(host);
  ASSERT_EQ(run.events.size(), 2u);
  EXPECT_EQ(run.events[1], "game:" + host.launcherCaptures.substr(0, 255));
}

TEST(StartupSequence, RemovesLeftoversOfTheCurrentDirectoryAndTheProgramFolderFirst) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> deleted;
    bool startedByUpdate;
    std::set<std::string> undeletable = {};
  } const cases[] = {
      {"both folders",
       {"C:\\work\\Launcher_back_up.exe", "C:\\work\\Launcher_update.bat",
        "C:\\games\\Launcher_back_up.exe", "C:\\games\\Launcher_update.bat",
        "C:\\other\\Launcher_update.bat"},
       {"C:\\work\\Launcher_back_up.exe", "C:\\work\\Launcher_update.bat",
        "C:\\games\\Launcher_back_up.exe", "C:\\games\\Launcher_update.bat"},
       true},
      {"a script in the program folder: this start is the update's",
       {"C:\\games\\Launcher_update.bat"},
       {"C:\\games\\Launcher_update.bat"},
       true},
      {"only an old program moved aside", {"C:\\games\\Launcher_back_up.exe"},
       {"C:\\games\\Launcher_back_up.exe"}, false},
      {"nothing", {}, {}, false},
      {"a script that cannot be removed is no update's start: checks must not stop for good",
       {"C:\\games\\Launcher_update.bat", "C:\\games\\Launcher_back_up.exe"},
       {"C:\\games\\Launcher_back_up.exe"},
       false,
       {"C:\\games\\Launcher_update.bat"}},
  };
  for (const Case& c : cases) {
    FakeAppHost host;
    host.mapError = MapError::kCannotOpen;  // start-up ends right after the clean-up
    for (const std::string& file : c.files) host.files[file] = "";
    host.undeletable = c.undeletable;
    host.currentDirectory = "C:\\work";
    LauncherApp app(host, host);
    app.InitInstance();
    EXPECT_EQ(host.deleted, c.deleted) << c.what;
    EXPECT_EQ(app.startedByUpdate, c.startedByUpdate) << c.what;
  }
}

TEST(StartupSequence, LeftoversInTheProgramFolderAreRemovedOnceWhenItIsTheCurrentDirectory) {
  FakeAppHost host;
  host.mapError = MapError::kCannotOpen;
  host.files = {{"C:\\games\\Launcher_update.bat", ""}};
  host.currentDirectory = "C:\\games";
  LauncherApp app(host, host);
  app.InitInstance();
  EXPECT_EQ(host.deleted, (std::vector<std::string>{"C:\\games\\Launcher_update.bat"}));
  EXPECT_TRUE(app.startedByUpdate);
}

TEST(StartupSequence, FailedPreparationStopsBeforeAnything) {
  FakeAppHost host;
  host.prepareOk = false;
  host.files = {{"C:\\games\\Launcher_update.bat", ""}};
  host.program = fixture::PeProgramWith(Package(kConfig));
  const Outcome run = Start(host);
  EXPECT_TRUE(host.deleted.empty());
  EXPECT_TRUE(run.events.empty());
}

TEST(StartupSequence, EnsuresTheShortcutBeforeAnyWindow) {
  FakeAppHost host;
  host.program = fixture::PeProgramWith(Package(std::string(kConfig) + "firstUrl=http://g/\n"));
  Start(host);
  ASSERT_EQ(host.written.size(), 1u);
  EXPECT_EQ(host.written[0].first, "C:\\Users\\me\\Desktop\\client.lnk");
  EXPECT_EQ(host.written[0].second, "C:\\games\\client.exe");
}

}  // namespace
}  // namespace mc
