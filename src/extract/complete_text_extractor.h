// CompleteTextExtractor: the text a reader of the presentation sees, each
// piece once, in slide order: for each slide of the live document, the text
// of its shapes (placeholders, text boxes, table cells in row order,
// groups) in drawing order, then the slide-list text the shapes did
// not show, then the text its master shows (text boxes, footers; not the
// title and body prompts) the first time a slide uses that master, then the
// text of the slide's notes page. A line of thirty hyphens introduces each
// slide after the first; text goes through the text sink, so line breaks and
// encodings are those of PresentationTextExtractor.
//
// The live document is found through the "Current User" stream and the
// persist directory, so copies left behind by incremental saves are not
// read. Records are nested by their lengths. Where the persist structure
// is missing or broken the whole stream is walked instead, nested the same
// way, so that a damaged file still gives its text.
//
// Hostile input: no recursion (group nesting uses an explicit stack), each
// edit and directory read once, each slide and notes page written once, and
// the whole walk works within a budget proportional to the stream's size.
//
// The readers are borrowed, not owned: they must outlive the extractor.
#ifndef TXTPPT2_EXTRACT_COMPLETE_TEXT_EXTRACTOR_H_
#define TXTPPT2_EXTRACT_COMPLETE_TEXT_EXTRACTOR_H_

#include <cstdint>

#include "extract/output_text_stream.h"
#include "storage/record_stream_reader.h"

namespace txtppt2 {

class CompleteTextExtractor {
 public:
  // currentUser may be null: the file has no "Current User" stream.
  // document is read up to sizeLimit bytes (what the file can hold).
  CompleteTextExtractor(RecordStreamReader& document,
                        RecordStreamReader* currentUser, uint32_t sizeLimit);
  CompleteTextExtractor(const CompleteTextExtractor&) = delete;
  CompleteTextExtractor& operator=(const CompleteTextExtractor&) = delete;

  // Appends the complete text to out. Throws on storage failures and
  // exhausted allocations, never on damaged records.
  void Extract(NarrowOutputStream& out);
  void Extract(WideOutputStream& out);

 private:
  template <typename Out>
  void Run(Out& out);

  RecordStreamReader& document;
  RecordStreamReader* currentUser;
  uint32_t sizeLimit;
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_COMPLETE_TEXT_EXTRACTOR_H_
