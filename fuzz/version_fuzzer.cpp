// Version files of any shape, served to the real update check: the input holds the configured
// version, a 0xFF byte, then the body of the version file. The check reads only the first line
// of the file, decides by the version numbers alone, and leaves no file behind in its work
// directory whatever the server sends (the offered program here is never a branded client, so
// a newer version ends in the download failure, with the download deleted).
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "update/download.h"
#include "update/stop_signal.h"
#include "update/update_check.h"
#include "update/version_file.h"

namespace {

namespace fs = std::filesystem;

constexpr char kVersionUrl[] = "http://update.test:80/v/version.txt";

// The version file as the body of one response, in blocks of 1023 bytes; anything else is a
// small page that is not a program.
class ServedVersion : public mc::HttpClient {
 public:
  explicit ServedVersion(std::string_view body) : body_(body) {}
  mc::HttpOutcome Get(const std::string& url, mc::HttpReceiver& receiver) override {
    const std::string_view body = url == kVersionUrl ? body_ : std::string_view("<html>");
    if (!receiver.OnResponse(200, static_cast<int64_t>(body.size())))
      return mc::HttpOutcome::kStopped;
    for (size_t i = 0; i < body.size(); i += 1023) {
      const std::string_view block = body.substr(i, 1023);
      if (!receiver.OnBody(reinterpret_cast<const uint8_t*>(block.data()), block.size()))
        return mc::HttpOutcome::kStopped;
    }
    return mc::HttpOutcome::kComplete;
  }

 private:
  std::string_view body_;
};

class Bytes : public mc::MappedFile {
 public:
  explicit Bytes(std::string bytes) : bytes_(std::move(bytes)) {}
  const uint8_t* data() const override { return reinterpret_cast<const uint8_t*>(bytes_.data()); }
  size_t size() const override { return bytes_.size(); }

 private:
  std::string bytes_;
};

class Platform : public mc::UpdatePlatform {
 public:
  Platform(std::string_view body, std::string dir) : http_(body), dir_(std::move(dir)) {}
  mc::PortTraits Traits() const override {
    return {'/', mc::ImageFormat::kElf, "Launcher_back_up", "Launcher_update.sh", ".desktop"};
  }
  uint32_t TickCount() override { return 0xFFFFFFF6; }
  mc::HttpClient& Http() override { return http_; }
  std::unique_ptr<mc::MappedFile> MapFile(const std::string&) override {
    return std::make_unique<Bytes>("<html>");
  }
  std::unique_ptr<mc::MappedFile> MapOwnProgram() override {
    return std::make_unique<Bytes>("\x7f" "ELF");
  }
  std::string ProgramPath() override { return dir_ + "/client"; }
  void StartScript(const std::string&) override { FUZZ_CHECK(false); }
  void EndProcess() override { FUZZ_CHECK(false); }

 private:
  ServedVersion http_;
  std::string dir_;
};

// A private folder for the check's files, removed when the fuzzer exits.
class ScratchFolder {
 public:
  ScratchFolder() {
    const std::string base =
        fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
    path_ = base + "/mc_version_fuzz_XXXXXX";
    FUZZ_CHECK(mkdtemp(path_.data()) != nullptr);
  }
  ~ScratchFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& WorkDirectory() {
  static const ScratchFolder folder;
  return folder.path();
}

bool SameVersion(const mc::Version& a, const mc::Version& b) {
  return a.major == b.major && a.minor == b.minor;
}

void CheckParse(const std::string& text) {
  const mc::Version v = mc::ParseVersion(text);
  // Empty pieces do not count: extra dots anywhere change nothing.
  FUZZ_CHECK(SameVersion(mc::ParseVersion("." + text), v));
  FUZZ_CHECK(SameVersion(mc::ParseVersion(text + "."), v));
  std::string doubled;
  for (const char c : text) doubled += c == '.' ? std::string("..") : std::string(1, c);
  FUZZ_CHECK(SameVersion(mc::ParseVersion(doubled), v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\xFF');
  const std::string local(input.substr(0, std::min<size_t>(split, 31)));
  const std::string_view body = split == std::string_view::npos ? std::string_view()
                                                                : input.substr(split + 1);

  const std::string line = mc::VersionLine(body);
  FUZZ_CHECK(line.size() <= mc::kVersionLineMax);
  FUZZ_CHECK(body.substr(0, line.size()) == line);
  FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  CheckParse(line);
  CheckParse(local);

  const mc::Version published = mc::ParseVersion(line), mine = mc::ParseVersion(local);
  const bool newer = mc::IsNewerVersion(published, mine);
  FUZZ_CHECK(!(newer && mc::IsNewerVersion(mine, published)));
  if (SameVersion(published, mine)) FUZZ_CHECK(!newer);

  mc::UpdateRecord record;
  record.server = "update.test";
  record.versionPath = "/v/version.txt";
  record.exePath = "/e/client";
  record.localVersion = local;
  record.workDirectory = WorkDirectory();
  Platform platform(body, record.workDirectory);
  mc::StopSignal stop;
  const int32_t result = mc::RunUpdateCheck(record, platform, stop);
  FUZZ_CHECK(result == (newer ? mc::kUpdateExeDownloadFailed : mc::kUpdateUpToDate));
  FUZZ_CHECK(fs::is_empty(record.workDirectory));
  return 0;
}
