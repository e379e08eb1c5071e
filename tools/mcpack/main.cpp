// mcpack: tells an operator what the client would silently do with a package folder, and
// brands a client with it.
//   mcpack check DIR              reports the problems of DIR (a folder holding config/)
//   mcpack pack CLIENT DIR OUT    checks, then writes OUT = CLIENT followed by a ZIP of config/
//   mcpack preview DIR -o OUT.png draws the launcher and the game window of DIR, problems marked
// Exit status: 0 no problem, 1 problems, 2 usage errors and files that cannot be read or written.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "mcpack.h"
#include "package/image_end.h"
#include "package/package_check.h"
#include "package/zip_archive.h"

namespace fs = std::filesystem;

namespace {

using mcpack::Check;
using mcpack::IsReadableFolder;
using mcpack::kExitClean;
using mcpack::kExitProblems;
using mcpack::kExitUsage;
using mcpack::ReadFileBytes;

constexpr char kConfigFolder[] = "config";
constexpr char kUsage[] =
    "usage: mcpack check DIR\n"
    "       mcpack pack CLIENT DIR OUT\n"
    "       mcpack preview DIR -o OUT.png [--size WxH] [--state maximized|restored]\n"
    "                      [--text-boxes FILE]\n"
    "DIR is a package folder holding config/cg.txt and its pictures.\n"
    "check   reports what the client would cut, skip or refuse.\n"
    "pack    checks, then writes OUT: CLIENT followed by a ZIP of DIR/config/; refuses a\n"
    "        config/ holding symbolic links, pipes, sockets, devices or files larger than the\n"
    "        client takes (check reports them too).\n"
    "preview draws, with no display, the launcher and the game window as the client shows\n"
    "        them, side by side in OUT.png, every problem of check marked in red on its\n"
    "        element and listed below. --size is the game window's size (default 1024x768,\n"
    "        at most 8192x8192); --state maximized (default) or restored: restored without\n"
    "        --size takes the size the client restores to (minGameWidth x minGameHeight).\n"
    "        --text-boxes writes the rectangles that hold text, \"x y width height\" a line.\n"
    "Exit status: 0 no problem, 1 problems, 2 usage errors and unreadable or unwritable files.\n";

int UsageError(const std::string& message) {
  std::cerr << "mcpack: " << message << "\n" << kUsage;
  return kExitUsage;
}

int Failure(const std::string& message) {
  std::cerr << "mcpack: " << message << "\n";
  return kExitUsage;
}

// Problems print as DIR/FILE:LINE: message, so editors can jump to them.
std::string InFolder(const std::string& dir, const std::string& file) {
  return dir.ends_with('/') ? dir + file : dir + "/" + file;
}

void Report(const std::string& dir, const std::vector<mc::PackageProblem>& problems) {
  for (const mc::PackageProblem& problem : problems) {
    std::cout << InFolder(dir, problem.file);
    if (problem.line > 0) std::cout << ':' << problem.line;
    std::cout << ": " << problem.message << '\n';
  }
}

std::string Summary(const std::string& dir, size_t problems) {
  if (problems == 0) return dir + ": no problems";
  return dir + ": " + std::to_string(problems) + (problems == 1 ? " problem" : " problems");
}

int RunCheck(const std::string& dir) {
  if (!IsReadableFolder(dir)) return Failure(dir + ": not a readable folder");
  // What pack would refuse is a problem here too, found without reading it: a pipe may never
  // end and a huge file would be read whole.
  size_t count = 0;
  if (const std::optional<mcpack::EntryFault> fault = mcpack::FirstUnpackableEntry(dir)) {
    std::cout << mcpack::Describe(*fault) << '\n';
    ++count;
  }
  const std::vector<mc::PackageProblem> problems = Check(dir);
  Report(dir, problems);
  count += problems.size();
  std::cout << Summary(dir, count) << '\n';
  return count == 0 ? kExitClean : kExitProblems;
}

enum class ClientFormat { kUnknown, kElf, kPe };

ClientFormat FormatOf(const std::vector<uint8_t>& bytes) {
  if (bytes.size() >= 4 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L' &&
      bytes[3] == 'F')
    return ClientFormat::kElf;
  if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') return ClientFormat::kPe;
  return ClientFormat::kUnknown;
}

// Where the client will look for its package: right after its executable image.
mc::PackageLocation Locate(ClientFormat format, const std::vector<uint8_t>& bytes) {
  return format == ClientFormat::kElf ? mc::LocatePackageElf(bytes.data(), bytes.size())
                                      : mc::LocatePackagePe(bytes.data(), bytes.size());
}

// Every file under DIR/config/ as entry "config/...", in byte order of the names so that the
// same folder always gives the same archive.
bool CollectConfigFiles(const fs::path& dir, std::vector<mcpack::ZipFile>& files,
                        std::string& failed) {
  const fs::path config = dir / kConfigFolder;
  std::error_code error;
  for (fs::recursive_directory_iterator it(config, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::optional<std::vector<uint8_t>> data = ReadFileBytes(it->path());
    if (!data) {
      failed = it->path().string();
      return false;
    }
    const std::string name =
        std::string(kConfigFolder) + "/" + it->path().lexically_relative(config).generic_string();
    files.push_back({name, std::move(*data)});
  }
  if (error) {
    failed = config.string();
    return false;
  }
  std::sort(files.begin(), files.end(),
            [](const mcpack::ZipFile& a, const mcpack::ZipFile& b) { return a.name < b.name; });
  return true;
}

// A file made next to its final place; removed when it goes out of scope unless renamed.
class TempFile {
 public:
  explicit TempFile(const std::string& near) {
    std::string name = near + ".XXXXXX";
    fd_ = mkstemp(name.data());
    if (fd_ >= 0) path_ = name;
  }
  ~TempFile() {
    if (fd_ >= 0) close(fd_);
    if (!path_.empty()) unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool created() const { return !path_.empty(); }
  const std::string& path() const { return path_; }

  bool Write(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t written = write(fd_, bytes.data() + done, bytes.size() - done);
      if (written <= 0) return false;
      done += static_cast<size_t>(written);
    }
    return true;
  }

  bool MakeExecutable() { return fchmod(fd_, 0755) == 0; }

  int fd() const { return fd_; }

  // The whole file as written so far, read through the descriptor rather than the name.
  std::optional<std::vector<uint8_t>> ReadAll() const {
    std::vector<uint8_t> bytes;
    uint8_t block[65536];
    for (off_t at = 0;;) {
      const ssize_t n = pread(fd_, block, sizeof block, at);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return std::nullopt;
      if (n == 0) return bytes;
      bytes.insert(bytes.end(), block, block + n);
      at += n;
    }
  }

  bool Close() {
    const bool ok = fsync(fd_) == 0 && close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

  bool RenameTo(const std::string& target) {
    if (std::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  int fd_ = -1;
  std::string path_;
};

// Reads the branded file back the way the client does; empty when every entry reads back.
std::string Verify(const std::string& path, ClientFormat format, size_t clientSize,
                   const std::vector<mcpack::ZipFile>& files) {
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
  if (!bytes) return "cannot be read back";
  const mc::PackageLocation where = Locate(format, *bytes);
  if (!where.found || where.offset != clientSize)
    return "the client would not find its package after its image";
  const std::unique_ptr<mc::ZipArchive> archive =
      mc::ZipArchive::Open(bytes->data() + where.offset, where.length);
  if (!archive) return "the client cannot open its package as a ZIP archive";
  std::vector<uint8_t> read;
  for (const mcpack::ZipFile& file : files) {
    if (!archive->Read(file.name, read) || read != file.data)
      return "the client cannot read " + file.name + " back";
  }
  return {};
}

int RunPack(const std::string& clientPath, const std::string& dir, const std::string& out) {
  const std::optional<std::vector<uint8_t>> client = ReadFileBytes(clientPath);
  if (!client) return Failure(clientPath + ": cannot read the client");
  const ClientFormat format = FormatOf(*client);
  if (format == ClientFormat::kUnknown) return Failure(clientPath + ": not an ELF or PE program");
  if (Locate(format, *client).found) {
    return Failure(clientPath +
                   ": data follows its image already (a branded or unstripped client?)");
  }
  if (!IsReadableFolder(dir)) return Failure(dir + ": not a readable folder");
  // A link would pack whatever it points at, anywhere on the machine, and reading a pipe or
  // a device may never end: a package is made of regular files only.
  if (const std::optional<mcpack::EntryFault> fault = mcpack::FirstUnpackableEntry(dir))
    return Failure(mcpack::Describe(*fault) + ", nothing written");

  const std::vector<mc::PackageProblem> problems = Check(dir);
  Report(dir, problems);
  const bool stops = std::any_of(problems.begin(), problems.end(),
                                 [](const mc::PackageProblem& p) { return p.stopsClient; });
  if (stops) {
    std::cout << Summary(dir, problems.size()) << "; the client would not start, nothing written\n";
    return kExitProblems;
  }

  std::vector<mcpack::ZipFile> files;
  std::string failed;
  if (!CollectConfigFiles(dir, files, failed)) return Failure(failed + ": cannot read");

  TempFile zip(out + ".zip");
  if (!zip.created() || !mcpack::WriteZip(zip.fd(), files))
    return Failure(out + ": cannot write the package next to it");
  const std::optional<std::vector<uint8_t>> package = zip.ReadAll();
  if (!package) return Failure(zip.path() + ": cannot read the package back");

  TempFile branded(out);
  if (!branded.created() || !branded.Write(*client) || !branded.Write(*package) ||
      !branded.MakeExecutable() || !branded.Close())
    return Failure(out + ": cannot write");
  const std::string fault = Verify(branded.path(), format, client->size(), files);
  if (!fault.empty()) {
    std::cout << out << ": " << fault << ", nothing written\n";
    return kExitProblems;
  }
  if (!branded.RenameTo(out)) return Failure(out + ": cannot write");

  std::cout << "wrote " << out << ": " << client->size() << "-byte client + " << package->size()
            << "-byte package of " << files.size() << " files\n"
            << Summary(dir, problems.size()) << '\n';
  return problems.empty() ? kExitClean : kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return kExitClean;
  }
  if (args.size() == 2 && args[0] == "check") return RunCheck(args[1]);
  if (args.size() == 4 && args[0] == "pack") return RunPack(args[1], args[2], args[3]);
  if (!args.empty() && args[0] == "preview")
    return mcpack::RunPreview({args.begin() + 1, args.end()});
  if (args.empty()) return UsageError("no command");
  if (args[0] != "check" && args[0] != "pack") return UsageError("unknown command " + args[0]);
  return UsageError("wrong number of arguments for " + args[0]);
}
