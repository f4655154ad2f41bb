// Synthetic presentations of any size for the benchmarks and the comparison
// with catppt, written with the test support's fixture writers.
//
// The "PowerPoint Document" stream is a deck of sixteen slides repeated as
// often as the size asks: a document container with the slide list's text
// (titles and bodies in UTF-16 and 8-bit text atoms, among the persist,
// header and style atoms that the walker skips), then each slide with its
// drawing: shapes with text boxes, a placeholder whose text box follows its
// client data, and the shape records between them. Every container's length
// is right, so that readers that do use lengths (catppt) see the same
// records. The text mixes ASCII, Windows-1252 letters and punctuation,
// characters outside Windows-1252, combining marks, CR, VT and LF.
//
// Stream content is produced piece by piece while the file is written, so a
// 1 GB presentation costs no more memory here than a small one.
#ifndef TXTPPT2_BENCH_SYNTHETIC_PRESENTATION_H_
#define TXTPPT2_BENCH_SYNTHETIC_PRESENTATION_H_

#include <cstdint>
#include <string>

#include "fixtures/compound_file_writer.h"

namespace txtppt2::bench {

class SyntheticPresentation {
 public:
  // A presentation whose document stream is the largest whole number of
  // decks that fits in streamBytes (at least one deck).
  explicit SyntheticPresentation(uint64_t streamBytes);

  uint64_t StreamSize() const { return deckCount * deck.size(); }
  uint64_t DeckSize() const { return deck.size(); }

  // The whole compound file in memory.
  std::string Build() const;
  // Writes the compound file to path; false (with errno set) on failure.
  bool WriteFile(const std::string& path) const;
  // The size of the compound file Build() and WriteFile() make.
  uint64_t FileSize() const;

 private:
  testing::CompoundFileWriter Writer() const;

  std::string deck;
  uint64_t deckCount;
};

}  // namespace txtppt2::bench

#endif  // TXTPPT2_BENCH_SYNTHETIC_PRESENTATION_H_
