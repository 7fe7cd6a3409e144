#pragma once
// The publisher's public key the checker program was built with (CMake option
// GLIMRA_UPDATE_PUBKEY), or null. Each checker program links its own
// definition, so a test build can carry a test key.
namespace signature {
const char* PublisherKeyText();
}  // namespace signature
