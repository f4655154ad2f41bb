// WalkAllRecords: the complete text's fallback where the persist structure
// is missing or broken, so that a damaged file still gives its text. Every
// record of the stream, nested by lengths, is visited; the text atoms of
// slide lists and of shapes' text boxes are handed on, and each slide
// container is announced before its text. Masters are skipped: their
// placeholder prompts are not slide text. A container whose body does not
// look like records (a ZIP package, say) is skipped whole.
//
// Hostile input: no recursion (an explicit stack), and every record read
// and text handed on costs the budget.
#ifndef TXTPPT2_EXTRACT_FALLBACK_WALK_H_
#define TXTPPT2_EXTRACT_FALLBACK_WALK_H_

#include <cstddef>
#include <string_view>

#include "extract/record_view.h"
#include "extract/text_atom_visitor.h"
#include "extract/work_budget.h"

namespace txtppt2 {

class FallbackVisitor : public TextAtomVisitor {
 public:
  // A slide container starts; slideIndex counts them from 0.
  virtual void OnSlide(const RecordHeader& slide, size_t slideIndex) = 0;
};

void WalkAllRecords(std::string_view image, WorkBudget& budget,
                    FallbackVisitor& visitor);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_FALLBACK_WALK_H_
