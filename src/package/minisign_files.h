// The two text files of minisign, the signing tool operators use for updates: the public key
// a package carries (config/update.pub) and the signature published beside a program. Only
// their form is read here; whether a signature is good is decided by the update's check.
//
//   public key:  untrusted comment: <anything>
//                base64("Ed" | key id (8) | Ed25519 public key (32))
//   signature:   untrusted comment: <anything>
//                base64(algorithm "Ed" or "ED" | key id (8) | Ed25519 signature (64))
//                trusted comment: <text covered by the global signature>
//                base64(global signature (64))
//
// Lines end in LF or CR LF (files written on Windows); the text may end with empty lines,
// nothing else may follow. Base64 is the standard alphabet with its padding and nothing
// around it; a text that decodes to anything but the exact size is refused.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mc {

inline constexpr size_t kMinisignKeyIdSize = 8;
inline constexpr size_t kEd25519KeySize = 32;
inline constexpr size_t kEd25519SignatureSize = 64;

struct MinisignKey {
  std::array<uint8_t, kMinisignKeyIdSize> id{};
  std::array<uint8_t, kEd25519KeySize> key{};
};

enum class MinisignAlgorithm {
  kPure,       // "Ed": Ed25519 over the file itself (minisign -l)
  kPrehashed,  // "ED": Ed25519 over the file's BLAKE2b-512 hash (minisign's default)
};

struct MinisignSignature {
  MinisignAlgorithm algorithm = MinisignAlgorithm::kPrehashed;
  std::array<uint8_t, kMinisignKeyIdSize> keyId{};
  std::array<uint8_t, kEd25519SignatureSize> signature{};
  std::string trustedComment;  // the text after "trusted comment: "
  std::array<uint8_t, kEd25519SignatureSize> globalSignature{};
};

// Where and why a file was refused, for the package check.
struct MinisignProblem {
  int line = 0;  // 1-based; 0 for the file as a whole
  std::string message;
};

std::optional<MinisignKey> ParseMinisignKey(std::string_view text,
                                            MinisignProblem* problem = nullptr);
std::optional<MinisignSignature> ParseMinisignSignature(std::string_view text,
                                                        MinisignProblem* problem = nullptr);

}  // namespace mc
