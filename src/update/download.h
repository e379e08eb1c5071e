// One HTTP transfer into a local file. The port performs the GET (WinINet, libcurl) and
// pushes the response through HttpReceiver; Download owns the file rules: the file holds
// exactly the body of a 2xx response, or it is not left behind at all.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "update/download_file.h"

namespace mc {

class StopSignal;

class HttpReceiver {
 public:
  virtual ~HttpReceiver() = default;
  // Once, before any body byte: the status of the final response (after redirects) and the
  // body length it announces (-1 when none). False stops the transfer.
  virtual bool OnResponse(int status, int64_t contentLength) = 0;
  // The next block of the body. False stops the transfer.
  virtual bool OnBody(const uint8_t* data, size_t size) = 0;
};

enum class HttpOutcome {
  kComplete,  // the whole response was received
  kFailed,    // malformed address, name not resolved, no connection, broken transfer, timeout
  kStopped,   // the receiver or a stop request ended it
};

// A plain GET, always from the server (no cache), redirects followed within a bound.
class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpOutcome Get(const std::string& url, HttpReceiver& receiver) = 0;
};

struct DownloadRequest {
  std::string url;
  std::string localPath;
};

// How much of a body a download takes. A server that sends without end must neither fill the
// disk nor keep the check running; only the version file's first line is of any use, so
// there the head is kept and the rest never fetched, while a program has to arrive whole.
struct DownloadLimits {
  enum class Over {
    kRefuse,    // a body announced or grown beyond maxBytes fails the download
    kKeepHead,  // the transfer stops at maxBytes and the bytes so far are the result
  };
  int64_t maxBytes = -1;  // -1: no limit
  Over over = Over::kRefuse;
  // Bytes free for the file at a path; nullopt when unknown. Asked once, before the file is
  // created, when the response announces its length: a body that cannot fit is refused.
  std::function<std::optional<uint64_t>(const std::string& path)> freeSpace;
  // A body arriving slower than floorBytes per floorWindow (judged window by window from the
  // response on) fails the download: a server trickling a few bytes a second would keep it
  // running for good, which no timeout for silence catches. 1 KiB/s over a minute.
  int64_t floorBytes = int64_t{60} << 10;
  std::chrono::steady_clock::duration floorWindow = std::chrono::seconds(60);
  // The clock the floor is judged by; empty: steady_clock.
  std::function<std::chrono::steady_clock::time_point()> clock;
};

// The version file: far more than its first line can take (kVersionLineMax), kept as a head.
inline constexpr int64_t kVersionFileReadMax = 4096;
// The program: no real client comes near it (they weigh a few MiB).
inline constexpr int64_t kProgramDownloadMax = int64_t{256} << 20;

// Whether a response announcing `announced` bytes (-1: not announced) may start to be
// written under `limits`, given `free` bytes free for the file (nullopt: unknown).
bool AnnouncedBodyFits(int64_t announced, const DownloadLimits& limits,
                       std::optional<uint64_t> free);

// Fetches request.url into request.localPath. True when the file holds exactly the body of a
// 2xx response, or its first limits.maxBytes bytes under Over::kKeepHead. On any failure
// (empty address, no response, status outside 200..299, transfer error, fewer or more bytes
// than announced, a body over the limits, larger than the free space or below the speed floor,
// file not creatable or not writable, stop) the file this call created is deleted; a file it never created is
// left alone. The file is made by `create`, and gets its name only when complete.
bool Download(HttpClient& http, const DownloadRequest& request, const StopSignal* stop = nullptr,
              const DownloadFileCreator& create = CreatePlainDownloadFile,
              const DownloadLimits& limits = {});

}  // namespace mc
