// The package checker of mcpack on configuration texts of any shape and any mix of present,
// missing and undecodable pictures. Its reports stay well-formed: every problem names its
// file, lines are within that file's text (only the configuration and the update key are read
// as text), and a package without a configuration is reported as one that stops the client.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "base/package_layout.h"
#include "package/package_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  // Which pictures are there and which decode, chosen by the input per name.
  const uint32_t presentMask = input.ConsumeIntegral<uint32_t>();
  const uint32_t decodesMask = input.ConsumeIntegral<uint32_t>();
  const int spriteWidth = input.ConsumeIntegralInRange<int>(0, 4096);
  const int spriteHeight = input.ConsumeIntegralInRange<int>(0, 4096);
  const bool hasConfig = input.ConsumeBool();
  const std::string text = input.ConsumeBytesAsString(input.remaining_bytes());

  const auto bit = [](uint32_t mask, const std::string& name) {
    return (mask >> (std::hash<std::string>()(name) % 32)) & 1;
  };
  const mc::PackageEntryReader read =
      [&](const std::string& name) -> std::optional<std::vector<uint8_t>> {
    if (name == mc::kConfigEntry) {
      if (!hasConfig) return std::nullopt;
      return std::vector<uint8_t>(text.begin(), text.end());
    }
    if (!bit(presentMask, name)) return std::nullopt;
    return std::vector<uint8_t>(name.begin(), name.end());  // stands for the picture's bytes
  };
  const mc::PngDecoder decode = [&](const std::vector<uint8_t>& png, int& width, int& height) {
    const std::string name(png.begin(), png.end());
    if (!bit(decodesMask, name)) return false;
    width = spriteWidth;
    height = spriteHeight;
    return true;
  };

  const std::vector<mc::PackageProblem> problems = mc::CheckPackage(read, decode);
  for (const mc::PackageProblem& problem : problems) {
    FUZZ_CHECK(!problem.file.empty() && !problem.message.empty());
    const bool text = problem.file == mc::kConfigEntry || problem.file == mc::kUpdateKeyEntry;
    FUZZ_CHECK(text || problem.line == 0);
    if (!text) continue;
    const std::vector<uint8_t> content = read(problem.file).value_or(std::vector<uint8_t>{});
    const int lines = static_cast<int>(std::count(content.begin(), content.end(), '\n') +
                                       std::count(content.begin(), content.end(), '\r')) + 1;
    FUZZ_CHECK(problem.line >= 0 && problem.line <= lines);
  }
  if (!hasConfig) {
    FUZZ_CHECK(std::any_of(problems.begin(), problems.end(), [](const mc::PackageProblem& p) {
      return p.file == mc::kConfigEntry && p.stopsClient;
    }));
  }
  return 0;
}
