// One coefficient file built into the library that links this object. The
// build compiles this source once a file, naming it with KVX_EMBED_NAME (the
// symbol stem, as in embedded_data.h) and KVX_EMBED_PATH; KVX_EMBED_HASH
// changes with the file's contents, so that a compiler cache never hands out
// an object built from older data.
#include "theories/libraries/embedded_data.h"

#if !defined(KVX_EMBED_NAME) || !defined(KVX_EMBED_PATH) || !defined(KVX_EMBED_HASH)
#error "KVX_EMBED_NAME, KVX_EMBED_PATH and KVX_EMBED_HASH must name the coefficient file"
#endif

// One more level, so that the definitions are expanded before KVX_EMBED_FILE
// turns the name into text.
#define KVX_EMBED_NAMED_FILE(name, path) KVX_EMBED_FILE(name, path)
KVX_EMBED_NAMED_FILE(KVX_EMBED_NAME, KVX_EMBED_PATH)
static const char* const kDataHash [[maybe_unused]] = KVX_EMBED_HASH;
