#include "document_stream_size.h"

#include <memory>

#include "storage/compound_storage.h"

namespace txtppt2::bench {

uint64_t DocumentStreamSize(const std::string& bytes) {
  try {
    CompoundStorage storage(reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<ULONG>(bytes.size()));
    StorageStream* opened = nullptr;
    storage.OpenStream(TXTPPT2_WTEXT("PowerPoint Document"), &opened);
    std::unique_ptr<StorageStream> stream(opened);
    return stream->Size();
  } catch (...) {
    return 0;
  }
}

}  // namespace txtppt2::bench
