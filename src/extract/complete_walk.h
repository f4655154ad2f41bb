// RunCompleteWalk: the walk that the complete text and the slide model
// share. Reads the "PowerPoint Document" stream whole (up to sizeLimit),
// finds the live document through "Current User" and the persist
// directory and hands its pages to the visitor in reading order
// (WalkLivePages); where the persist structure is missing or broken (and,
// with BrokenChain::kMend, cannot be mended), every record of the stream
// instead (WalkAllRecords). The visitor reads each
// page's text itself (WalkPageText), so that what it makes of the text is
// its own: the complete text writes it, the slide model sorts it into
// slides.
//
// Hostile input: the walks' bounds (extract/work_budget.h); the budget
// handed to OnStart is the walk's, for the page text walks.
#ifndef TXTPPT2_EXTRACT_COMPLETE_WALK_H_
#define TXTPPT2_EXTRACT_COMPLETE_WALK_H_

#include <cstdint>
#include <string_view>

#include "extract/fallback_walk.h"
#include "extract/page_order.h"
#include "extract/persist_directory.h"
#include "extract/work_budget.h"
#include "storage/record_stream_reader.h"

namespace txtppt2 {

class CompleteWalkVisitor : public PageVisitor, public FallbackVisitor {
 public:
  // Before either walk: the stream image, the live document (null when
  // the fallback walk follows) and the walk's budget. All three stay valid
  // until RunCompleteWalk returns.
  virtual void OnStart(std::string_view image, const LiveDocument* live,
                       WorkBudget& budget) = 0;
};

// currentUser may be null: the file has no "Current User" stream. The
// complete text gives up on a broken chain of edits (its text stays what
// it has always been); the slide model mends it. Throws what the readers
// throw (storage failures) and exhausted allocations, never on damaged
// records.
void RunCompleteWalk(RecordStreamReader& document,
                     RecordStreamReader* currentUser, uint32_t sizeLimit,
                     BrokenChain broken, CompleteWalkVisitor& visitor);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_COMPLETE_WALK_H_
