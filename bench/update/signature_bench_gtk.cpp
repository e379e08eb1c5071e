// Verification time of a signed update: the package's key and the program's signature read
// and the signature checked over the program in memory, as the update does once the download
// is complete (the file is in the page cache then). Signatures come from the real minisign.
// usage: signature_bench_gtk KEY.pub PROGRAM PROGRAM.minisig [ITERATIONS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "package/minisign_files.h"
#include "update/minisign_verify.h"

namespace {

std::string ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 64;
  const std::string keyText = ReadAll(argv[1]);
  const std::string program = ReadAll(argv[2]);
  const std::string signatureText = ReadAll(argv[3]);
  const int iterations = argc > 4 ? std::atoi(argv[4]) : 20;

  std::vector<double> samples;
  bool ok = true;
  for (int i = 0; i < std::max(iterations, 1); ++i) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<mc::MinisignKey> key = mc::ParseMinisignKey(keyText);
    const std::optional<mc::MinisignSignature> signature =
        mc::ParseMinisignSignature(signatureText);
    ok = ok && key && signature &&
         mc::VerifyMinisign(*key, *signature, reinterpret_cast<const uint8_t*>(program.data()),
                            program.size());
    samples.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  if (!ok) {
    std::fprintf(stderr, "signature does not verify\n");
    return 1;
  }
  std::sort(samples.begin(), samples.end());
  std::printf("%.3f %.3f\n", samples[samples.size() / 2], samples.front());  // median, min ms
  return 0;
}
