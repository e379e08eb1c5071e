#include "update/minisign_verify.h"

#include <sodium.h>

#include <vector>

namespace mc {

bool VerifyMinisign(const MinisignKey& key, const MinisignSignature& signature,
                    const uint8_t* data, size_t size) {
  // Picks the fastest implementations once; safe to call from any thread, any number of times.
  if (sodium_init() < 0) return false;
  if (signature.keyId != key.id || (data == nullptr && size > 0)) return false;

  const unsigned char* message = data;
  unsigned long long messageSize = size;
  unsigned char hash[crypto_generichash_BYTES_MAX];
  static_assert(sizeof hash == 64, "minisign prehashes with BLAKE2b-512");
  if (signature.algorithm == MinisignAlgorithm::kPrehashed) {
    crypto_generichash(hash, sizeof hash, data, size, nullptr, 0);
    message = hash;
    messageSize = sizeof hash;
  }
  if (crypto_sign_verify_detached(signature.signature.data(), message, messageSize,
                                  key.key.data()) != 0)
    return false;

  std::vector<unsigned char> global(signature.signature.begin(), signature.signature.end());
  global.insert(global.end(), signature.trustedComment.begin(), signature.trustedComment.end());
  return crypto_sign_verify_detached(signature.globalSignature.data(), global.data(),
                                     global.size(), key.key.data()) == 0;
}

}  // namespace mc
