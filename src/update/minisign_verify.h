// Checks a minisign signature of a file with its public key (Ed25519, libsodium).
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/minisign_files.h"

namespace mc {

// True when `signature` was made over data[0, size) with the secret half of `key`: the key ids
// are the same, the signature verifies (over the bytes for "Ed", over their BLAKE2b-512 hash
// for "ED"), and so does the global signature over the signature and the trusted comment, so
// neither can be swapped or edited.
bool VerifyMinisign(const MinisignKey& key, const MinisignSignature& signature,
                    const uint8_t* data, size_t size);

}  // namespace mc
