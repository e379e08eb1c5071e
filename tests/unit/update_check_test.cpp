// The version check with a scripted HTTP server and a real scratch folder: result codes, the
// files each outcome leaves, which downloads may replace the program, and stopping.
#include "update/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "fake_app_host.h"
#include "update/client_image.h"
#include "update/download.h"
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

std::vector<uint8_t> Package(bool withConfig = true) {
  std::vector<fixture::ZipEntry> entries{Stored("config/main1.png", Bytes("png"))};
  if (withConfig) entries.push_back(Stored("config/cg.txt", Bytes("[global]\r\nversion=2.0\r\n")));
  return fixture::BuildZip(entries);
}

struct Response {
  int status = 200;
  std::string body;
  int64_t announced = -2;  // -2: the body's size; -1: none
  HttpOutcome end = HttpOutcome::kComplete;
  size_t breakAfter = std::string::npos;  // the connection breaks after this many bytes
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
    for (size_t i = 0; i < end; i += 7) {
      const size_t n = std::min<size_t>(7, end - i);
      if (!receiver.OnBody(reinterpret_cast<const uint8_t*>(r.body.data()) + i, n))
        return HttpOutcome::kStopped;
    }
    return end < r.body.size() ? HttpOutcome::kFailed : r.end;
  }
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
  std::string ProgramPath() override { return programPath; }
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
