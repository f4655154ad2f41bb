// The size of a presentation's "PowerPoint Document" stream, for the
// benchmarks' throughput figures (bytes of stream per second).
#ifndef TXTPPT2_BENCH_DOCUMENT_STREAM_SIZE_H_
#define TXTPPT2_BENCH_DOCUMENT_STREAM_SIZE_H_

#include <cstdint>
#include <string>

namespace txtppt2::bench {

// The stream's size in bytes, read with the library's own storage layer
// from the compound file held in bytes; 0 when it has no readable document
// stream.
uint64_t DocumentStreamSize(const std::string& bytes);

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_DOCUMENT_STREAM_SIZE_H_
