// Minisign files of any shape: the input holds a public key file, a 0xFF byte, then a
// signature file, checked as the update checks a program whose bytes are "fuzz". Parsing and
// verifying never fail in any other way than by refusing, and line ends do not matter: the
// same files written with CR LF read the same.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "package/minisign_files.h"
#include "update/minisign_verify.h"

namespace {

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool Same(const std::optional<mc::MinisignSignature>& a,
          const std::optional<mc::MinisignSignature>& b) {
  if (!a || !b) return a.has_value() == b.has_value();
  return a->algorithm == b->algorithm && a->keyId == b->keyId && a->signature == b->signature &&
         a->trustedComment == b->trustedComment && a->globalSignature == b->globalSignature;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\xFF');
  const std::string_view keyText = input.substr(0, split);
  const std::string_view signatureText =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  const std::optional<mc::MinisignKey> key = mc::ParseMinisignKey(keyText);
  const std::optional<mc::MinisignSignature> signature = mc::ParseMinisignSignature(signatureText);
  // Bare CRs already in the text would be doubled; the property is about LF files.
  if (keyText.find('\r') == std::string_view::npos) {
    const std::optional<mc::MinisignKey> crlf = mc::ParseMinisignKey(WithCrLf(keyText));
    FUZZ_CHECK(key.has_value() == crlf.has_value());
    FUZZ_CHECK(!key || (key->id == crlf->id && key->key == crlf->key));
  }
  if (signatureText.find('\r') == std::string_view::npos)
    FUZZ_CHECK(Same(signature, mc::ParseMinisignSignature(WithCrLf(signatureText))));

  if (key && signature) {
    static const std::string_view kProgram = "fuzz";
    mc::VerifyMinisign(*key, *signature, reinterpret_cast<const uint8_t*>(kProgram.data()),
                       kProgram.size());
  }
  return 0;
}
