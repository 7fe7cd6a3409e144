#include "signature/PublisherKey.h"

namespace signature {
#ifdef GLIMRA_UPDATE_PUBKEY
const char* PublisherKeyText() { return GLIMRA_UPDATE_PUBKEY; }
#else
const char* PublisherKeyText() { return nullptr; }
#endif
}  // namespace signature
