// The version check with a scripted HTTP server and a real scratch folder: result codes, the
// files each outcome leaves, which downloads may replace the program, and stopping.
#include "update/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "base/package_layout.h"
#include "fake_app_host.h"
#include "minisign_fixture.h"
#include "package/launcher_config.h"
#include "update/client_image.h"
#include "update/download.h"
#include "update/signed_update.h"
#include "update/stop_signal.h"
#include "update/update_script.h"
#include "update/update_worker.h"
#include "zip_fixture.h"

namespace mc {
namespace {

namespace fs = std::filesystem;
using fixture::Bytes;
using fixture::Stored;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string Text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// A PE32 client for machine 0x14C (i386) with `package` appended.
std::string PeClient(const std::vector<uint8_t>& package, uint16_t machine = 0x14C,
                     uint16_t characteristics = 0x0102) {
  std::vector<uint8_t> file = fixture::PeProgramWith(package);
  file[0x84] = static_cast<uint8_t>(machine);
  file[0x85] = static_cast<uint8_t>(machine >> 8);
  file[0x96] = static_cast<uint8_t>(characteristics);
  file[0x97] = static_cast<uint8_t>(characteristics >> 8);
  return Text(file);
}

// An ELF header alone (no tables), so the package starts right after it.
std::string ElfClient(const std::vector<uint8_t>& package, uint8_t elfClass = 2, uint16_t type = 3,
                      uint16_t machine = 62) {
  std::vector<uint8_t> file(elfClass == 2 ? 64 : 52, 0);
  const uint8_t ident[] = {0x7F, 'E', 'L', 'F', elfClass, 1, 1};
  std::copy(std::begin(ident), std::end(ident), file.begin());
  file[16] = static_cast<uint8_t>(type);
  file[18] = static_cast<uint8_t>(machine);
  file[19] = static_cast<uint8_t>(machine >> 8);
  file.insert(file.end(), package.begin(), package.end());
  return Text(file);
}

std::vector<uint8_t> Package(bool withConfig = true, const std::string& version = "2.0") {
  std::vector<fixture::ZipEntry> entries{Stored("config/main1.png", Bytes("png"))};
  if (withConfig)
    entries.push_back(Stored("config/cg.txt", Bytes("[global]\r\nversion=" + version + "\r\n")));
  return fixture::BuildZip(entries);
}

struct Response {
  int status = 200;
  std::string body;
  int64_t announced = -2;  // -2: the body's size; -1: none
  HttpOutcome end = HttpOutcome::kComplete;
  size_t breakAfter = std::string::npos;  // the connection breaks after this many bytes
  bool endless = false;  // the body is sent again and again until the receiver stops it
  size_t block = 7;       // bytes handed over at a time
};

// Answers from a table of URLs; an unknown URL behaves like an unreachable server.
class ScriptedHttp : public HttpClient {
 public:
  std::map<std::string, Response> responses;
  std::vector<std::string> requested;
  std::function<void(const std::string&)> onRequest;

  HttpOutcome Get(const std::string& url, HttpReceiver& receiver) override {
    requested.push_back(url);
    if (onRequest) onRequest(url);
    const auto it = responses.find(url);
    if (it == responses.end()) return HttpOutcome::kFailed;
    const Response& r = it->second;
    const int64_t announced = r.announced == -2 ? static_cast<int64_t>(r.body.size()) : r.announced;
    if (!receiver.OnResponse(r.status, announced)) return HttpOutcome::kStopped;
    const size_t end = std::min(r.body.size(), r.breakAfter);
    // Bounded, so that a receiver which never stops fails the test instead of hanging it.
    for (int round = 0; round < (r.endless ? 1 << 22 : 1); ++round) {
      for (size_t i = 0; i < end; i += r.block) {
        const size_t n = std::min(r.block, end - i);
        if (!receiver.OnBody(reinterpret_cast<const uint8_t*>(r.body.data()) + i, n))
          return HttpOutcome::kStopped;
        sent += n;
      }
    }
    return end < r.body.size() ? HttpOutcome::kFailed : r.end;
  }
  uint64_t sent = 0;  // body bytes the receivers took
};

class ScratchDir {
 public:
  ScratchDir() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("mc_update_" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
             std::to_string(++counter));
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string path() const { return path_.string(); }
  std::string File(const std::string& name) const { return path() + kSeparator + name; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

 private:
  fs::path path_;
};

class DiscardedFile : public DownloadFile {
 public:
  bool Write(const uint8_t*, size_t) override { return true; }
  bool Commit() override { return false; }
};

class FakePlatform : public UpdatePlatform {
 public:
  explicit FakePlatform(const ScratchDir& dir) : dir_(dir) {}

  ScriptedHttp http;
  std::string own = PeClient(Package());
  ImageFormat format = ImageFormat::kPe;
  uint32_t tick = 0xFFFFFFF6;  // -10 as a signed number
  std::string programPath = "C:\\Games\\Star\\client.exe";
  std::vector<std::string> started;
  int ended = 0;

  PortTraits Traits() const override {
    return {kSeparator, format, "Launcher_back_up.exe", "Launcher_update.bat", ".lnk"};
  }
  uint32_t TickCount() override { return tick; }
  HttpClient& Http() override { return http; }
  std::unique_ptr<MappedFile> MapFile(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    return std::make_unique<fixture::FakeAppHost::Bytes>(std::move(bytes));
  }
  std::unique_ptr<MappedFile> MapOwnProgram() override {
    return std::make_unique<fixture::FakeAppHost::Bytes>(
        std::vector<uint8_t>(own.begin(), own.end()));
  }
  std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& path) override {
    created.push_back(path);
    if (discardWrites && path.ends_with("client.exe")) return std::make_unique<DiscardedFile>();
    return CreatePlainDownloadFile(path);
  }
  bool discardWrites = false;  // the program's file keeps no byte (for huge bodies)
  std::optional<uint64_t> FreeSpace(const std::string&) override { return free; }
  std::string ProgramPath() override { return programPath; }
  std::vector<std::string> created;  // paths of the files made, in order
  std::optional<uint64_t> free;
  void StartScript(const std::string& path) override { started.push_back(path); }
  void EndProcess() override { ++ended; }

 private:
  const ScratchDir& dir_;
};

const char kVersionUrl[] = "http://update.example:80/v/version.txt";
const char kExeUrl[] = "http://update.example:80/d/client.exe";

UpdateRecord Record(const ScratchDir& dir, const std::string& localVersion = "1.30") {
  UpdateRecord r;
  r.server = "update.example";
  r.port = 80;
  r.versionPath = "/v/version.txt";
  r.exePath = "/d/client.exe";
  r.localVersion = localVersion;
  r.workDirectory = dir.path();
  return r;
}

int32_t Check(const UpdateRecord& record, FakePlatform& platform) {
  StopSignal stop;
  return RunUpdateCheck(record, platform, stop);
}

using Names = std::vector<std::string>;

TEST(UpdateDownload, FileHoldsExactlyTheBodyOfA2xxResponse) {
  struct Case {
    const char* what;
    Response response;
    bool ok;
  } cases[] = {
      {"body in blocks", {200, std::string("MZ\0\x01 body", 9) + std::string(100, 'x')}, true},
      {"empty body", {204, ""}, true},
      {"no announced length", {200, "abc", -1}, true},
      {"404", {404, "not found"}, false},
      {"500", {500, "error"}, false},
      {"redirect not followed", {302, "moved"}, false},
      {"shorter than announced", {200, "abc", 10}, false},
      {"longer than announced", {200, "abcdef", 3}, false},
      {"connection breaks mid-body",
       {200, std::string(50, 'x'), -2, HttpOutcome::kComplete, 20},
       false},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    ScriptedHttp http;
    http.responses["http://h/f"] = c.response;
    EXPECT_EQ(Download(http, {"http://h/f", dir.File("f")}), c.ok) << c.what;
    if (c.ok)
      EXPECT_EQ(dir.Read("f"), c.response.body) << c.what;
    else
      EXPECT_EQ(dir.Names(), Names{}) << c.what;
  }
}

TEST(UpdateDownload, FailuresBeforeTheFileLeaveOthersAlone) {
  ScratchDir dir;
  ScriptedHttp http;
  std::ofstream(dir.File("existing")) << "keep";
  EXPECT_FALSE(Download(http, {"http://unreachable/f", dir.File("existing")}));
  EXPECT_EQ(dir.Read("existing"), "keep");

  EXPECT_FALSE(Download(http, {"", dir.File("f")}));
  EXPECT_EQ(http.requested.size(), 1u);  // an empty address is never requested

  http.responses["http://h/f"] = {200, "abc"};
  EXPECT_FALSE(Download(http, {"http://h/f", dir.File("missing") + kSeparator + "f"}));
}

// A download file that records what happens to it instead of touching the disk.
struct FileLog {
  std::string written;
  bool committed = false;
  bool destroyed = false;
};

class LoggedFile : public DownloadFile {
 public:
  explicit LoggedFile(FileLog& log) : log_(log) {}
  ~LoggedFile() override { log_.destroyed = true; }
  bool Write(const uint8_t* data, size_t size) override {
    log_.written.append(reinterpret_cast<const char*>(data), size);
    return true;
  }
  bool Commit() override { return log_.committed = true; }

 private:
  FileLog& log_;
};

TEST(UpdateDownload, TheFileIsCommittedOnlyWhenTheBodyIsComplete) {
  struct Case {
    const char* what;
    Response response;
    bool created, committed;
  } cases[] = {
      {"complete", {200, "body"}, true, true},
      {"shorter than announced", {200, "abc", 10}, true, false},
      {"connection breaks", {200, std::string(50, 'x'), -2, HttpOutcome::kComplete, 20}, true, false},
      {"404", {404, "not found"}, false, false},
  };
  for (const Case& c : cases) {
    ScriptedHttp http;
    http.responses["http://h/f"] = c.response;
    FileLog log;
    bool created = false;
    const bool ok = Download(http, {"http://h/f", "f"}, nullptr, [&](const std::string& path) {
      EXPECT_EQ(path, "f");
      created = true;
      return std::make_unique<LoggedFile>(log);
    });
    EXPECT_EQ(ok, c.committed) << c.what;
    EXPECT_EQ(created, c.created) << c.what;
    EXPECT_EQ(log.committed, c.committed) << c.what;
    EXPECT_EQ(log.destroyed, c.created) << c.what;  // released either way
    if (c.committed) {
      EXPECT_EQ(log.written, c.response.body) << c.what;
    }
  }
}

TEST(UpdateDownload, LimitsKeepAHeadOrRefuseTheBody) {
  using Over = DownloadLimits::Over;
  const std::string body25(25, 'b');
  struct Case {
    const char* what;
    Response response;
    DownloadLimits limits;
    std::optional<uint64_t> free;
    bool ok, created;
    size_t kept;  // bytes in the file when ok
  } cases[] = {
      {"head of an unannounced body", {200, body25, -1}, {10, Over::kKeepHead}, {}, true, true, 10},
      {"head of an announced body", {200, body25}, {10, Over::kKeepHead}, {}, true, true, 10},
      {"head of an endless body", {200, body25, -1, HttpOutcome::kComplete, std::string::npos, true},
       {10, Over::kKeepHead}, {}, true, true, 10},
      {"body as long as the head", {200, body25}, {25, Over::kKeepHead}, {}, true, true, 25},
      {"body shorter than the head", {200, body25}, {100, Over::kKeepHead}, {}, true, true, 25},
      {"head, body shorter than announced", {200, "abc", 8}, {10, Over::kKeepHead}, {}, false,
       true, 0},
      {"refused: unannounced body grows over", {200, body25, -1}, {10, Over::kRefuse}, {}, false,
       true, 0},
      {"refused: endless body", {200, body25, -1, HttpOutcome::kComplete, std::string::npos, true},
       {10, Over::kRefuse}, {}, false, true, 0},
      {"refused: announced over the limit", {200, body25}, {24, Over::kRefuse}, {}, false, false, 0},
      {"body exactly at the limit", {200, body25}, {25, Over::kRefuse}, {}, true, true, 25},
      {"announced more than is free", {200, body25}, {}, 24, false, false, 0},
      {"announced exactly what is free", {200, body25}, {}, 25, true, true, 25},
      {"free space unknown", {200, body25}, {}, std::nullopt, true, true, 25},
      {"unannounced: free space not asked", {200, body25, -1}, {}, 1, true, true, 25},
      {"head fits the free space, the body would not", {200, body25}, {10, Over::kKeepHead}, 10,
       true, true, 10},
  };
  for (Case& c : cases) {
    ScratchDir dir;
    ScriptedHttp http;
    http.responses["http://h/f"] = c.response;
    c.limits.freeSpace = [&](const std::string& path) {
      EXPECT_EQ(path, dir.File("f")) << c.what;
      return c.free;
    };
    bool created = false;
    const bool ok = Download(
        http, {"http://h/f", dir.File("f")}, nullptr,
        [&](const std::string& path) {
          created = true;
          return CreatePlainDownloadFile(path);
        },
        c.limits);
    EXPECT_EQ(ok, c.ok) << c.what;
    EXPECT_EQ(created, c.created) << c.what;
    if (c.ok)
      EXPECT_EQ(dir.Read("f"), c.response.body.substr(0, c.kept)) << c.what;
    else
      EXPECT_EQ(dir.Names(), Names{}) << c.what;
    // An endless body is cut within a block of the limit.
    EXPECT_LE(http.sent, static_cast<uint64_t>(c.limits.maxBytes >= 0 ? c.limits.maxBytes + 7 : 25))
        << c.what;
  }
}

TEST(UpdateDownload, ABodyBelowTheSpeedFloorFails) {
  // One byte a block; the clock moves `step` each time it is read. The floor: 60 bytes in
  // each 60 s window.
  const std::string body(200, 'b');
  struct Case {
    const char* what;
    std::chrono::milliseconds step;
    bool ok;
  } cases[] = {
      {"a trickle: 1 byte a second", std::chrono::seconds(1) + std::chrono::milliseconds(1), false},
      {"at the floor", std::chrono::milliseconds(990), true},
      {"fast", std::chrono::milliseconds(1), true},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    ScriptedHttp http;
    http.responses["http://h/f"] = {200, body, -1, HttpOutcome::kComplete, std::string::npos, false, 1};
    std::chrono::steady_clock::time_point now{};
    DownloadLimits limits;
    limits.floorBytes = 60;
    limits.floorWindow = std::chrono::seconds(60);
    limits.clock = [&] { return now += c.step; };
    EXPECT_EQ(Download(http, {"http://h/f", dir.File("f")}, nullptr, CreatePlainDownloadFile,
                       limits),
              c.ok)
        << c.what;
    EXPECT_EQ(dir.Names(), c.ok ? Names{"f"} : Names{}) << c.what;
    if (!c.ok) EXPECT_LT(http.sent, body.size()) << c.what << ": the transfer was ended";
  }
}

TEST(AnnouncedBodyFits, LimitAndFreeSpace) {
  using Over = DownloadLimits::Over;
  struct Case {
    int64_t announced;
    DownloadLimits limits;
    std::optional<uint64_t> free;
    bool fits;
  } cases[] = {
      {-1, {10, Over::kRefuse}, 0, true},  // not announced: judged as it arrives
      {10, {10, Over::kRefuse}, 10, true},
      {11, {10, Over::kRefuse}, std::nullopt, false},
      {11, {10, Over::kKeepHead}, 10, true},  // only the head is written
      {11, {10, Over::kKeepHead}, 9, false},
      {kProgramDownloadMax + 1, {kProgramDownloadMax, Over::kRefuse}, std::nullopt, false},
      {INT64_MAX, {}, std::nullopt, true},
      {INT64_MAX, {}, UINT64_MAX, true},
      {5, {}, 4, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AnnouncedBodyFits(c.announced, c.limits, c.free), c.fits) << c.announced;
}

TEST(UpdateCheck, EndlessOrOversizedBodiesAreBounded) {
  const std::string endlessTail(4096, 'x');
  const std::string client = PeClient(Package());
  struct Case {
    const char* what;
    Response version, exe;
    std::optional<uint64_t> free;
    int32_t code;
    Names names;
    size_t filesMade;
  } cases[] = {
      {"endless version file, newer first line",
       {200, "2.0\r\n" + endlessTail, -1, HttpOutcome::kComplete, std::string::npos, true},
       {200, client}, std::nullopt, kUpdateScriptStarted,
       {"-10client.exe", "Launcher_update.bat"}, 3},
      {"endless version file, same first line",
       {200, "1.30\n" + endlessTail, -1, HttpOutcome::kComplete, std::string::npos, true},
       {200, client}, std::nullopt, kUpdateUpToDate, {}, 1},
      {"version file announcing a huge length", {200, "2.0\n", INT64_MAX}, {200, client},
       std::nullopt, kUpdateVersionDownloadFailed, {}, 1},
      {"endless program", {200, "2.0"},
       {200, std::string(1 << 16, 'x'), -1, HttpOutcome::kComplete, std::string::npos, true,
        1 << 16},
       std::nullopt, kUpdateExeDownloadFailed, {}, 2},
      {"program announced over the limit", {200, "2.0"}, {200, client, kProgramDownloadMax + 1},
       std::nullopt, kUpdateExeDownloadFailed, {}, 1},
      {"program larger than the free space", {200, "2.0"}, {200, client}, client.size() - 1,
       kUpdateExeDownloadFailed, {}, 1},
      {"program fits the free space", {200, "2.0"}, {200, client}, client.size(),
       kUpdateScriptStarted, {"-10client.exe", "Launcher_update.bat"}, 3},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    FakePlatform platform(dir);
    platform.free = c.free;
    platform.discardWrites = c.exe.endless;
    platform.http.responses[kVersionUrl] = c.version;
    platform.http.responses[kExeUrl] = c.exe;
    EXPECT_EQ(Check(Record(dir), platform), c.code) << c.what;
    EXPECT_EQ(dir.Names(), c.names) << c.what;
    EXPECT_EQ(platform.created.size(), c.filesMade) << c.what;
    // Nothing near the whole of an endless body was taken.
    EXPECT_LE(platform.http.sent, static_cast<uint64_t>(kProgramDownloadMax + 2 * client.size()))
        << c.what;
  }
}

#ifndef _WIN32
// A link planted under the script's name or its temporary name is replaced or removed; the
// file it points at is neither written nor truncated.
TEST(UpdateCheck, ScriptIsNotWrittenThroughAPlantedLink) {
  for (const char* planted : {"Launcher_update.bat", "Launcher_update.bat.part"}) {
    ScratchDir dir, outside;
    std::ofstream(outside.File("victim")) << "keep";
    fs::create_symlink(outside.File("victim"), dir.File(planted));
    FakePlatform platform(dir);
    platform.http.responses[kVersionUrl] = {200, "2.0"};
    platform.http.responses[kExeUrl] = {200, PeClient(Package())};
    EXPECT_EQ(Check(Record(dir), platform), kUpdateScriptStarted) << planted;
    EXPECT_EQ(outside.Read("victim"), "keep") << planted;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.File("Launcher_update.bat"))))
        << planted;
    EXPECT_EQ(dir.Names(), (Names{"-10client.exe", "Launcher_update.bat"})) << planted;
  }
}
#endif

TEST(UpdateCheck, UpToDateLeavesNothing) {
  for (const char* published : {"1.30", "1.4", "1.30.7\r\n", "", "version 9.9"}) {
    ScratchDir dir;
    FakePlatform platform(dir);
    platform.http.responses[kVersionUrl] = {200, published};
    EXPECT_EQ(Check(Record(dir), platform), kUpdateUpToDate) << published;
    EXPECT_EQ(platform.http.requested, Names{kVersionUrl});
    EXPECT_EQ(dir.Names(), Names{}) << published;
  }
}

TEST(UpdateCheck, VersionFileNotFetched) {
  ScratchDir dir;
  FakePlatform platform(dir);
  platform.http.responses[kVersionUrl] = {404, "2.0"};
  EXPECT_EQ(Check(Record(dir), platform), kUpdateVersionDownloadFailed);
  EXPECT_EQ(dir.Names(), Names{});

  UpdateRecord noServer = Record(dir);
  noServer.server.clear();
  EXPECT_EQ(Check(noServer, platform), kUpdateVersionDownloadFailed);
  UpdateRecord noDirectory = Record(dir);
  noDirectory.workDirectory.clear();
  EXPECT_EQ(Check(noDirectory, platform), kUpdateVersionDownloadFailed);
  EXPECT_EQ(platform.http.requested.size(), 1u);  // neither reached the network
}

TEST(UpdateCheck, NewerVersionInstallsThroughTheScript) {
  ScratchDir dir;
  FakePlatform platform(dir);
  const std::string client = PeClient(Package());
  platform.http.responses[kVersionUrl] = {200, "1.31\r\n0.1\r\n"};
  platform.http.responses[kExeUrl] = {200, client};

  EXPECT_EQ(Check(Record(dir), platform), kUpdateScriptStarted);
  EXPECT_EQ(platform.http.requested, (Names{kVersionUrl, kExeUrl}));
  // The version file is gone; the download stays under the tick count for the script.
  EXPECT_EQ(dir.Names(), (Names{"-10client.exe", "Launcher_update.bat"}));
  EXPECT_EQ(dir.Read("-10client.exe"), client);
  EXPECT_EQ(platform.started, Names{dir.File("Launcher_update.bat")});
  EXPECT_EQ(platform.ended, 1);
  EXPECT_EQ(
      dir.Read("Launcher_update.bat"),
      BatchScriptText(platform.programPath, dir.File("-10client.exe"), "Launcher_back_up.exe"));
}

TEST(UpdateCheck, OnlyABrandedClientOfThisPortReplacesTheProgram) {
  struct Case {
    const char* what;
    Response exe;
  } cases[] = {
      {"error page with status 200", {200, "<html>not found</html>"}},
      {"no package appended", {200, PeClient({})}},
      {"package without config/cg.txt", {200, PeClient(Package(false))}},
      {"package cut short", {200, PeClient(Package()).substr(0, 0x500)}},
      {"other machine", {200, PeClient(Package(), 0x8664)}},
      {"a DLL", {200, PeClient(Package(), 0x14C, 0x2102)}},
      {"client of the other port", {200, ElfClient(Package())}},
      {"transfer shorter than announced", {200, PeClient(Package()), 100000}},
      {"404", {404, PeClient(Package())}},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    FakePlatform platform(dir);
    platform.http.responses[kVersionUrl] = {200, "2.0"};
    platform.http.responses[kExeUrl] = c.exe;
    EXPECT_EQ(Check(Record(dir), platform), kUpdateExeDownloadFailed) << c.what;
    EXPECT_EQ(dir.Names(), Names{}) << c.what;
    EXPECT_TRUE(platform.started.empty()) << c.what;
  }
}

TEST(UpdateCheck, ElfClientsMatchTheRunningProgram) {
  const std::string own = ElfClient(Package());
  const auto ok = [&own](const std::string& image) {
    return IsBrandedClient(reinterpret_cast<const uint8_t*>(image.data()), image.size(),
                           reinterpret_cast<const uint8_t*>(own.data()), own.size(),
                           ImageFormat::kElf);
  };
  EXPECT_TRUE(ok(ElfClient(Package())));
  EXPECT_TRUE(ok(ElfClient(Package(), 2, 2)));        // executable instead of PIE
  EXPECT_FALSE(ok(ElfClient(Package(), 1)));          // 32-bit
  EXPECT_FALSE(ok(ElfClient(Package(), 2, 3, 183)));  // another machine
  EXPECT_FALSE(ok(ElfClient(Package(), 2, 1)));       // relocatable object
  EXPECT_FALSE(ok(ElfClient(Package(false))));
  EXPECT_FALSE(ok(PeClient(Package())));
}

TEST(UpdateCheck, ScriptNotCreatableKeepsTheDownload) {
  ScratchDir dir;
  FakePlatform platform(dir);
  fs::create_directory(dir.File("Launcher_update.bat"));  // the script's name is taken
  platform.http.responses[kVersionUrl] = {200, "2.0"};
  platform.http.responses[kExeUrl] = {200, PeClient(Package())};
  EXPECT_EQ(Check(Record(dir), platform), kUpdateScriptNotCreated);
  EXPECT_EQ(dir.Names(), (Names{"-10client.exe", "Launcher_update.bat"}));
  EXPECT_TRUE(platform.started.empty());
  EXPECT_EQ(platform.ended, 0);
}

TEST(UpdateCheck, StopDuringTheDownloadInstallsNothing) {
  ScratchDir dir;
  FakePlatform platform(dir);
  StopSignal stop;
  platform.http.responses[kVersionUrl] = {200, "2.0"};
  platform.http.responses[kExeUrl] = {200, PeClient(Package())};
  platform.http.onRequest = [&](const std::string& url) {
    if (url == kExeUrl) stop.Stop();
  };
  EXPECT_EQ(RunUpdateCheck(Record(dir), platform, stop), kUpdateExeDownloadFailed);
  EXPECT_EQ(dir.Names(), Names{});
  EXPECT_TRUE(platform.started.empty());
}

// With a key in the package, only a program signed with it, configured with the announced
// version, is installed; everything fetched for a refused one is deleted. A key that does not
// parse refuses before the program is fetched.
TEST(UpdateCheck, SignedUpdatesInstallOnlyAuthenticAnnouncedPrograms) {
  const fixture::MinisignSigner signer(1), stranger(2, 7);
  const std::string client = PeClient(Package());  // configured 2.0
  std::string tampered = client;
  tampered[0x300] ^= 1;  // inside the image: still a branded client
  const std::string older = PeClient(Package(true, "1.31"));
  const std::string sameVersion = PeClient(Package(true, "2.00"));
  const Names installed{"-10client.exe", "Launcher_update.bat"};
  struct Case {
    const char* what;
    std::string program;
    std::optional<Response> signature;  // nullopt: the server has none
    int32_t code;
    bool keyParses = true;
  } cases[] = {
      {"prehashed signature", client, Response{200, signer.Sign(client)}, kUpdateScriptStarted},
      {"legacy signature", client, Response{200, signer.Sign(client, false)}, kUpdateScriptStarted},
      {"CR LF signature", client, Response{200, signer.Sign(client, true, "c", "\r\n")},
       kUpdateScriptStarted},
      {"version written otherwise", sameVersion, Response{200, signer.Sign(sameVersion)},
       kUpdateScriptStarted},
      {"no signature on the server", client, std::nullopt, kUpdateExeDownloadFailed},
      {"signature 404", client, Response{404, signer.Sign(client)}, kUpdateExeDownloadFailed},
      {"signed by another key", client, Response{200, stranger.Sign(client)},
       kUpdateExeDownloadFailed},
      {"tampered program", tampered, Response{200, signer.Sign(client)}, kUpdateExeDownloadFailed},
      {"signature of another file", client, Response{200, signer.Sign(older)},
       kUpdateExeDownloadFailed},
      {"older signed build replayed", older, Response{200, signer.Sign(older)},
       kUpdateExeDownloadFailed},
      {"signature cut short", client, Response{200, signer.Sign(client).substr(0, 150)},
       kUpdateExeDownloadFailed},
      {"signature file too long", client,
       Response{200, signer.Sign(client, true, std::string(kSignatureFileMax, 'c'))},
       kUpdateExeDownloadFailed},
      {"signed, but no client", "MZ signed junk", Response{200, signer.Sign("MZ signed junk")},
       kUpdateExeDownloadFailed},
      {"key that does not parse", client, Response{200, signer.Sign(client)},
       kUpdateExeDownloadFailed, false},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    FakePlatform platform(dir);
    platform.http.responses[kVersionUrl] = {200, "2.0\r\n"};
    platform.http.responses[kExeUrl] = {200, c.program};
    if (c.signature) platform.http.responses[std::string(kExeUrl) + ".minisig"] = *c.signature;
    UpdateRecord record = Record(dir);
    record.updateKey.required = true;
    if (c.keyParses) record.updateKey.key = ParseMinisignKey(signer.PublicKeyFile());
    EXPECT_EQ(Check(record, platform), c.code) << c.what;
    if (!c.keyParses) {
      EXPECT_EQ(platform.http.requested, Names{kVersionUrl}) << c.what;
    }
    const bool ok = c.code == kUpdateScriptStarted;
    EXPECT_EQ(dir.Names(), ok ? installed : Names{}) << c.what;
    EXPECT_EQ(platform.started.size(), ok ? 1u : 0u) << c.what;
  }
}

TEST(UpdateCheck, TheKeyComesFromThePackage) {
  const std::string keyFile = fixture::MinisignSigner(1).PublicKeyFile();
  fixture::ZipEntry damaged = Stored(kUpdateKeyEntry, Bytes(keyFile));
  damaged.crc ^= 1;
  struct Case {
    const char* what;
    std::vector<fixture::ZipEntry> entries;
    bool required, key;
  } cases[] = {
      {"no key", {}, false, false},
      {"key", {Stored(kUpdateKeyEntry, Bytes(keyFile))}, true, true},
      {"key of another name", {Stored("config/Update.pub", Bytes(keyFile))}, false, false},
      {"key that does not parse", {Stored(kUpdateKeyEntry, Bytes("RWQ=\n"))}, true, false},
      {"empty key", {Stored(kUpdateKeyEntry, {})}, true, false},
      {"damaged entry", {damaged}, true, false},
  };
  for (const Case& c : cases) {
    fixture::FakeAppHost host;
    std::vector<fixture::ZipEntry> entries = c.entries;
    entries.push_back(Stored("config/cg.txt", Bytes("[global]\nversion=1.0\n")));
    host.program = fixture::PeProgramWith(fixture::BuildZip(entries));
    LauncherConfig config;
    ASSERT_TRUE(config.OpenPackage(host)) << c.what;
    const UpdateRecord record = MakeUpdateRecord(config, "dir");
    EXPECT_EQ(record.updateKey.required, c.required) << c.what;
    EXPECT_EQ(record.updateKey.key.has_value(), c.key) << c.what;
  }
}

// A transfer that hangs until it is stopped, as a stalled server does.
class HangingHttp : public HttpClient {
 public:
  explicit HangingHttp(std::shared_ptr<StopSignal> stop) : stop_(std::move(stop)) {}
  HttpOutcome Get(const std::string&, HttpReceiver& receiver) override {
    if (!receiver.OnResponse(200, 1000)) return HttpOutcome::kStopped;
    const uint8_t part[10] = {};
    receiver.OnBody(part, sizeof part);
    while (!stop_->stopped()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return HttpOutcome::kStopped;
  }

 private:
  std::shared_ptr<StopSignal> stop_;
};

TEST(UpdateWorker, EndingTheOwnerStopsAStalledCheck) {
  ScratchDir dir;
  auto stop = std::make_shared<StopSignal>();
  HangingHttp hanging(stop);
  class Platform : public FakePlatform {
   public:
    Platform(const ScratchDir& d, HttpClient& http) : FakePlatform(d), http_(http) {}
    HttpClient& Http() override { return http_; }

   private:
    HttpClient& http_;
  };
  std::vector<int32_t> posted;
  std::thread::id poster;
  {
    auto worker = UpdateWorker::Start(
        Record(dir), std::make_unique<Platform>(dir, hanging),
        [&](int32_t code, const UpdateRecord&) {
          posted.push_back(code);
          poster = std::this_thread::get_id();
        },
        stop);
    EXPECT_FALSE(worker->WaitFinished(std::chrono::milliseconds(50)));
  }  // the owner stops the check and waits for it
  EXPECT_EQ(posted, std::vector<int32_t>{kUpdateVersionDownloadFailed});
  EXPECT_NE(poster, std::this_thread::get_id());
  EXPECT_EQ(dir.Names(), Names{});  // the partial version file is gone
}

}  // namespace
}  // namespace mc
