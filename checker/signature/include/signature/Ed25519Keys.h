#pragma once
// Ed25519 keys in the forms publishers have at hand: the public key as hex,
// base64 or as `openssl pkey -pubout` writes it; the private key as raw bytes
// or as `openssl genpkey -algorithm ed25519` writes it (PEM, PKCS#8).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace signature {

using PublicKey = std::array<std::uint8_t, 32>;

// A private key: its 32-byte seed, from which the key pair follows.
struct SecretKey {
  std::array<std::uint8_t, 32> seed{};
  ~SecretKey();
};

// 64 hex digits, base64 of the 32 key bytes, base64 of the DER public key
// ("MCowBQYDK2VwAyEA..."), or that DER key in a PEM "PUBLIC KEY" armour.
// White space around and inside is ignored.
std::optional<PublicKey> ParsePublicKey(std::string_view text);

// The contents of a key file: 32 raw bytes (seed), 64 raw bytes (seed and
// public key, as libsodium keeps them; the two must belong together) or a PEM
// "PRIVATE KEY" (PKCS#8, Ed25519). Gives a reason in *error otherwise.
std::optional<SecretKey> ParsePrivateKey(std::string_view contents, std::string* error);

PublicKey PublicKeyOf(const SecretKey& key);

std::string ToHex(const PublicKey& key);

}  // namespace signature
