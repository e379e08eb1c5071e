// Minisign keys and signatures made with libsodium itself, in the files' text form, so tests
// can sign anything without the minisign tool.
#pragma once

#include <sodium.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace mc::fixture {

inline std::string Base64(const uint8_t* data, size_t size) {
  std::string out(sodium_base64_encoded_len(size, sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(out.data(), out.size(), data, size, sodium_base64_VARIANT_ORIGINAL);
  out.resize(out.size() - 1);  // the terminating NUL
  return out;
}

class MinisignSigner {
 public:
  // The same seed gives the same key; `id` is the key id written into its files.
  explicit MinisignSigner(uint8_t seed, uint64_t id = 0x1122334455667788) {
    if (sodium_init() < 0) std::abort();
    std::array<uint8_t, crypto_sign_SEEDBYTES> bytes;
    bytes.fill(seed);
    crypto_sign_seed_keypair(public_.data(), secret_.data(), bytes.data());
    for (int i = 0; i < 8; ++i) id_[i] = static_cast<uint8_t>(id >> (8 * i));
  }

  std::string PublicKeyFile(const char* lineEnd = "\n") const {
    std::string raw = "Ed";
    raw.append(reinterpret_cast<const char*>(id_.data()), id_.size());
    raw.append(reinterpret_cast<const char*>(public_.data()), public_.size());
    return "untrusted comment: minisign public key" + std::string(lineEnd) +
           Base64(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()) + lineEnd;
  }

  // The four lines of a signature file for `data`: "ED" (prehashed) or "Ed".
  std::string Sign(const std::string& data, bool prehashed = true,
                   const std::string& trustedComment = "timestamp:1700000000\tfile:client",
                   const char* lineEnd = "\n") const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    uint8_t hash[64];
    const uint8_t* message = bytes;
    size_t size = data.size();
    if (prehashed) {
      crypto_generichash(hash, sizeof hash, bytes, data.size(), nullptr, 0);
      message = hash;
      size = sizeof hash;
    }
    uint8_t signature[64];
    crypto_sign_detached(signature, nullptr, message, size, secret_.data());
    std::string raw = prehashed ? "ED" : "Ed";
    raw.append(reinterpret_cast<const char*>(id_.data()), id_.size());
    raw.append(reinterpret_cast<const char*>(signature), sizeof signature);

    std::string global(reinterpret_cast<const char*>(signature), sizeof signature);
    global += trustedComment;
    uint8_t globalSignature[64];
    crypto_sign_detached(globalSignature, nullptr, reinterpret_cast<const uint8_t*>(global.data()),
                         global.size(), secret_.data());
    return "untrusted comment: signature from minisign secret key" + std::string(lineEnd) +
           Base64(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()) + lineEnd +
           "trusted comment: " + trustedComment + lineEnd +
           Base64(globalSignature, sizeof globalSignature) + lineEnd;
  }

 private:
  std::array<uint8_t, 8> id_{};
  std::array<uint8_t, crypto_sign_PUBLICKEYBYTES> public_{};
  std::array<uint8_t, crypto_sign_SECRETKEYBYTES> secret_{};
};

}  // namespace mc::fixture
