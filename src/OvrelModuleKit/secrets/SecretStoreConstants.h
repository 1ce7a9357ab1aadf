#pragma once

namespace ovrel::SecretStoreConstants {

// Both values are inputs of the key of every stored secret and are shared by
// the hub and all modules. Changing either one makes every secret already
// stored on every machine unreadable.

// The key material on machines without a readable hardware identifier.
inline constexpr char kFallbackMachineID[] = "vn.ovrel.no-hardware-id";

// Put in front of the secret's name to form the key-derivation info, which
// binds each secret file to its name.
inline constexpr char kKeyInfoPrefix[] = "vn.ovrel.keys.";

static_assert(sizeof(kFallbackMachineID) - 1 == 23);
static_assert(sizeof(kKeyInfoPrefix) - 1 == 14);

} // namespace ovrel::SecretStoreConstants
