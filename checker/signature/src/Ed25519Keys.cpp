#include "signature/Ed25519Keys.h"

#include <sodium.h>

#include <cstring>
#include <vector>

namespace signature {
namespace {

constexpr const char* kSpace = " \t\r\n";

// DER prefixes of an Ed25519 SubjectPublicKeyInfo and of a PKCS#8 private key
// without the optional public key; the 32 key bytes follow each.
constexpr std::uint8_t kPublicDer[] = {0x30, 0x2a, 0x30, 0x05, 0x06, 0x03, 0x2b, 0x65, 0x70, 0x03, 0x21, 0x00};
constexpr std::uint8_t kPrivateDer[] = {0x30, 0x2e, 0x02, 0x01, 0x00, 0x30, 0x05, 0x06,
                                        0x03, 0x2b, 0x65, 0x70, 0x04, 0x22, 0x04, 0x20};

std::optional<std::vector<std::uint8_t>> Decode(std::string_view text, bool hex) {
  // The decoders would skip a zero byte; and they take no empty buffer.
  if (text.empty() || text.find('\0') != std::string_view::npos) return std::nullopt;
  std::vector<std::uint8_t> out(text.size());
  std::size_t length = 0;
  int rc = hex ? sodium_hex2bin(out.data(), out.size(), text.data(), text.size(), kSpace, &length, nullptr)
               : sodium_base642bin(out.data(), out.size(), text.data(), text.size(), kSpace, &length, nullptr,
                                   sodium_base64_VARIANT_ORIGINAL);
  if (rc != 0) return std::nullopt;
  out.resize(length);
  return out;
}

// The base64 text between "-----BEGIN <label>-----" and "-----END <label>-----",
// or nullopt when there is no such armour.
std::optional<std::string_view> PemBody(std::string_view text, std::string_view label) {
  const std::string begin = "-----BEGIN " + std::string(label) + "-----";
  const std::string end = "-----END " + std::string(label) + "-----";
  std::size_t b = text.find(begin);
  if (b == std::string_view::npos) return std::nullopt;
  b += begin.size();
  std::size_t e = text.find(end, b);
  if (e == std::string_view::npos) return std::nullopt;
  return text.substr(b, e - b);
}

template <std::size_t N>
bool StartsWith(const std::vector<std::uint8_t>& bytes, const std::uint8_t (&prefix)[N]) {
  return bytes.size() >= N && std::memcmp(bytes.data(), prefix, N) == 0;
}

}  // namespace

SecretKey::~SecretKey() { sodium_memzero(seed.data(), seed.size()); }

std::optional<PublicKey> ParsePublicKey(std::string_view text) {
  if (auto body = PemBody(text, "PUBLIC KEY")) text = *body;
  auto bytes = Decode(text, true);
  if (!bytes || bytes->size() != 32) bytes = Decode(text, false);
  if (!bytes) return std::nullopt;
  PublicKey key;
  if (bytes->size() == key.size()) {
    std::memcpy(key.data(), bytes->data(), key.size());
  } else if (bytes->size() == sizeof kPublicDer + key.size() && StartsWith(*bytes, kPublicDer)) {
    std::memcpy(key.data(), bytes->data() + sizeof kPublicDer, key.size());
  } else {
    return std::nullopt;
  }
  return key;
}

std::optional<SecretKey> ParsePrivateKey(std::string_view contents, std::string* error) {
  if (sodium_init() < 0) {
    *error = "the signature library cannot start";
    return std::nullopt;
  }
  SecretKey key;
  if (contents.size() == 32 || contents.size() == 64) {
    std::memcpy(key.seed.data(), contents.data(), key.seed.size());
    if (contents.size() == 64) {
      PublicKey pk = PublicKeyOf(key);
      if (std::memcmp(pk.data(), contents.data() + 32, pk.size()) != 0) {
        *error = "a 64-byte key whose second half is not the public key of its first half";
        return std::nullopt;
      }
    }
    return key;
  }
  auto body = PemBody(contents, "PRIVATE KEY");
  if (!body) {
    *error = "not an Ed25519 private key (raw 32 or 64 bytes, or PEM \"PRIVATE KEY\" as openssl genpkey writes it)";
    return std::nullopt;
  }
  auto der = Decode(*body, false);
  if (!der || der->size() != sizeof kPrivateDer + 32 || !StartsWith(*der, kPrivateDer)) {
    if (der) sodium_memzero(der->data(), der->size());
    *error = "the PEM private key is not an Ed25519 key in PKCS#8 form";
    return std::nullopt;
  }
  std::memcpy(key.seed.data(), der->data() + sizeof kPrivateDer, key.seed.size());
  sodium_memzero(der->data(), der->size());
  return key;
}

PublicKey PublicKeyOf(const SecretKey& key) {
  PublicKey pk;
  unsigned char sk[crypto_sign_SECRETKEYBYTES];
  crypto_sign_seed_keypair(pk.data(), sk, key.seed.data());
  sodium_memzero(sk, sizeof sk);
  return pk;
}

std::string ToHex(const PublicKey& key) {
  char hex[2 * 32 + 1];
  sodium_bin2hex(hex, sizeof hex, key.data(), key.size());
  return hex;
}

}  // namespace signature
