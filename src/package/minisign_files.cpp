#include "package/minisign_files.h"

#include <cstring>
#include <vector>

namespace mc {
namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment: ";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";
constexpr char kPureAlgorithm[] = "Ed";
constexpr char kPrehashedAlgorithm[] = "ED";

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Decodes exactly `size` bytes. Refuses any other length, characters outside the alphabet
// (white space included), missing or misplaced padding and unused bits that are not zero, so
// every accepted value has exactly one spelling.
template <size_t N>
bool DecodeBase64(std::string_view text, std::array<uint8_t, N>& out) {
  constexpr size_t kPadding = N % 3 == 0 ? 0 : 3 - N % 3;
  if (text.size() != (N + 2) / 3 * 4) return false;
  const std::string_view digits = text.substr(0, text.size() - kPadding);
  if (text.substr(digits.size()) != std::string_view("==", kPadding)) return false;
  uint32_t pending = 0;
  int bits = 0;
  size_t n = 0;
  for (const char c : digits) {
    const int value = Base64Value(c);
    if (value < 0) return false;
    pending = pending << 6 | static_cast<uint32_t>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out[n++] = static_cast<uint8_t>(pending >> bits);
      pending &= (1u << bits) - 1;
    }
  }
  return n == N && pending == 0;
}

// The lines of a file: split at LF, a CR before it dropped. Empty lines at the end are no
// lines of the file.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// Fills *problem (when asked for) and gives nothing, so a parser can return it directly.
std::nullopt_t Refuse(MinisignProblem* problem, int line, std::string message) {
  if (problem) *problem = {line, std::move(message)};
  return std::nullopt;
}

// The start every minisign file shares: an untrusted comment, then at least `count` lines.
bool HasLines(const std::vector<std::string_view>& lines, size_t count, const char* what,
              MinisignProblem* problem) {
  if (lines.empty()) {
    Refuse(problem, 0, std::string("empty: not a minisign ") + what);
    return false;
  }
  if (!lines[0].starts_with(kUntrustedPrefix)) {
    Refuse(problem, 1,
           std::string("not a minisign ") + what + ": the first line must begin with \"" +
               std::string(kUntrustedPrefix) + "\"");
    return false;
  }
  if (lines.size() < count) {
    Refuse(problem, static_cast<int>(lines.size()),
           std::string("the minisign ") + what + " ends here: it has " +
               std::to_string(count) + " lines");
    return false;
  }
  return true;
}

// Nothing but empty lines may follow the `count` lines of the file.
bool EndsAfter(const std::vector<std::string_view>& lines, size_t count, const char* what,
               MinisignProblem* problem) {
  if (lines.size() == count) return true;
  Refuse(problem, static_cast<int>(count) + 1,
         std::string("nothing may follow the minisign ") + what);
  return false;
}

}  // namespace

std::optional<MinisignKey> ParseMinisignKey(std::string_view text, MinisignProblem* problem) {
  const std::vector<std::string_view> lines = Lines(text);
  if (!HasLines(lines, 2, "public key", problem)) return std::nullopt;
  std::array<uint8_t, 2 + kMinisignKeyIdSize + kEd25519KeySize> raw;
  if (!DecodeBase64(lines[1], raw))
    return Refuse(problem, 2, "not the base64 text of a minisign public key");
  if (std::memcmp(raw.data(), kPureAlgorithm, 2) != 0)
    return Refuse(problem, 2, "not an Ed25519 key: minisign public keys begin with \"Ed\"");
  if (!EndsAfter(lines, 2, "public key", problem)) return std::nullopt;
  MinisignKey key;
  std::memcpy(key.id.data(), raw.data() + 2, key.id.size());
  std::memcpy(key.key.data(), raw.data() + 2 + key.id.size(), key.key.size());
  return key;
}

std::optional<MinisignSignature> ParseMinisignSignature(std::string_view text,
                                                        MinisignProblem* problem) {
  const std::vector<std::string_view> lines = Lines(text);
  if (!HasLines(lines, 4, "signature", problem)) return std::nullopt;
  std::array<uint8_t, 2 + kMinisignKeyIdSize + kEd25519SignatureSize> raw;
  if (!DecodeBase64(lines[1], raw))
    return Refuse(problem, 2, "not the base64 text of a minisign signature");
  MinisignSignature signature;
  if (std::memcmp(raw.data(), kPureAlgorithm, 2) == 0)
    signature.algorithm = MinisignAlgorithm::kPure;
  else if (std::memcmp(raw.data(), kPrehashedAlgorithm, 2) == 0)
    signature.algorithm = MinisignAlgorithm::kPrehashed;
  else
    return Refuse(problem, 2, "unknown signature algorithm: minisign signs with \"Ed\" or \"ED\"");
  std::memcpy(signature.keyId.data(), raw.data() + 2, signature.keyId.size());
  std::memcpy(signature.signature.data(), raw.data() + 2 + signature.keyId.size(),
              signature.signature.size());
  if (!lines[2].starts_with(kTrustedPrefix))
    return Refuse(problem, 3,
                  "the third line must begin with \"" + std::string(kTrustedPrefix) + "\"");
  signature.trustedComment = std::string(lines[2].substr(kTrustedPrefix.size()));
  if (!DecodeBase64(lines[3], signature.globalSignature))
    return Refuse(problem, 4, "not the base64 text of a global signature");
  if (!EndsAfter(lines, 4, "signature", problem)) return std::nullopt;
  return signature;
}

}  // namespace mc
