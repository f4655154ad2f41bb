// WalkPageText: the text of one page in reading order. First the shapes of
// the page's drawing in drawing order (groups entered where they stand,
// tables' cells in row order), each shape's own text box, or the slide-list
// text its outline reference names; then the page's slide-list texts that
// no shape showed or repeated. On a master, the placeholders that hold
// prompts ("Click to edit ...") are passed over. The visitor hears of
// each shape before its text, and of each table's rows and cells (a row:
// the cells that share a top).
//
// Only the drawing's own group tree is read: the deleted shapes kept after
// it are not text. Hostile input: no recursion (groups nest on an explicit
// stack), and every record read and text handed on costs the shared
// budget.
#ifndef TXTPPT2_EXTRACT_DRAWING_TEXT_WALK_H_
#define TXTPPT2_EXTRACT_DRAWING_TEXT_WALK_H_

#include <string_view>

#include "extract/page_order.h"
#include "extract/text_atom_visitor.h"
#include "extract/work_budget.h"

namespace txtppt2 {

void WalkPageText(std::string_view image, const PageVisit& page,
                  WorkBudget& budget, TextAtomVisitor& visitor);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_DRAWING_TEXT_WALK_H_
