// Messages of the page-to-client channel, whatever a page manages to post: parsing never
// fails, and what comes out keeps the channel's bounds: at most kMaxCallsPerMessage calls,
// each naming an offered method with at most kMaxArgumentsPerCall arguments and at most
// kMaxCallTextBytes of argument text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browser/external_message.h"
#include "browser/page_script.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> offered = {"JsCallClient", "Other"};
  const std::string_view message(reinterpret_cast<const char*>(data), size);
  const std::vector<mc::ScriptCall> calls = mc::ParseExternalMessage(message, offered);
  FUZZ_CHECK(calls.size() <= mc::kMaxCallsPerMessage);
  for (const mc::ScriptCall& call : calls) {
    FUZZ_CHECK(call.method == offered[0] || call.method == offered[1]);
    FUZZ_CHECK(call.args.size() <= mc::kMaxArgumentsPerCall);
    size_t text = 0;
    for (const mc::ScriptValue& value : call.args) text += value.text.size();
    FUZZ_CHECK(text <= mc::kMaxCallTextBytes);
  }
  return 0;
}
