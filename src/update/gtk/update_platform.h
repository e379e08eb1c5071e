// The Linux port's services for the update check: libcurl, mapped files, and the update
// script run by /bin/sh in a session of its own at idle priority.
#pragma once

#include <memory>
#include <string>

#include "update/gtk/curl_http_client.h"
#include "update/update_check.h"

namespace mc::gtk {

class GtkUpdatePlatform : public UpdatePlatform {
 public:
  GtkUpdatePlatform(std::shared_ptr<const StopSignal> stop, CurlOptions options = {});

  PortTraits Traits() const override;
  uint32_t TickCount() override;
  HttpClient& Http() override { return http_; }
  // An anonymous file until the download is complete.
  std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& path) override;
  // statvfs of the file's folder: the blocks an unprivileged user may still take.
  std::optional<uint64_t> FreeSpace(const std::string& path) override;
  std::unique_ptr<MappedFile> MapFile(const std::string& path) override;
  std::unique_ptr<MappedFile> MapOwnProgram() override;
  // chmod to the running program's permission bits.
  bool PrepareExecutable(const std::string& path) override;
  std::string ProgramPath() override;
  // fork; the child leaves the process's session, drops to nice 19, keeps only standard
  // output and error, and becomes /bin/sh running the script.
  void StartScript(const std::string& scriptPath) override;
  // _exit(0): no atexit handlers or static destructors run beside the GTK thread.
  void EndProcess() override;
  // To the GLib log, domain "microclient", at debug level: shown with
  // G_MESSAGES_DEBUG=microclient.
  void LogResult(int32_t code) override;

 private:
  CurlHttpClient http_;
};

}  // namespace mc::gtk
