// One HTTP transfer into a local file. The port performs the GET (WinINet, libcurl) and
// pushes the response through HttpReceiver; Download owns the file rules: the file holds
// exactly the body of a 2xx response, or it is not left behind at all.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Fetches request.url into request.localPath (created or truncated). True when the file holds
// exactly the body of a 2xx response. On any failure (empty address, no response, status
// outside 200..299, transfer error, fewer or more bytes than announced, file not creatable or
// not writable, stop) the file this call created is deleted; a file it never created is
// left alone. The file is made by `create`, and gets its name only when complete.
bool Download(HttpClient& http, const DownloadRequest& request, const StopSignal* stop = nullptr,
              const DownloadFileCreator& create = CreatePlainDownloadFile);

}  // namespace mc
