// Readers of the records a slide's model takes beside its text: the
// document's hyperlink list, a page's slide atom, hidden flag, comments
// and headers and footers, and the hyperlinked ranges that follow a text
// atom. Each reads a fixed number of levels of children by their lengths,
// no recursion, and charges every record it reads to the budget it is
// given; a spent budget ends the read early.
#ifndef TXTPPT2_MODEL_SLIDE_RECORDS_H_
#define TXTPPT2_MODEL_SLIDE_RECORDS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "extract/record_view.h"
#include "extract/work_budget.h"
#include "model/presentation.h"

namespace txtppt2 {

// The targets of the document's hyperlinks by their ids: the target (with
// "#" and the location within it where both are stored), the location
// alone for a place in this document, else the friendly name (the address
// as typed, where nothing else is stored).
using HyperlinkTargets = std::unordered_map<uint32_t, std::string>;
HyperlinkTargets ReadHyperlinkTargets(std::string_view image,
                                      const RecordHeader& document,
                                      WorkBudget& budget);

// The children of a slide, master or notes page the model reads, found in
// one pass: the first of each type.
struct PageParts {
  std::optional<RecordHeader> slideAtom, showInfo, headersFooters, tags;
};
PageParts ReadPageParts(std::string_view image, const RecordHeader& page,
                        WorkBudget& budget);

// The id of the page's master, from its SlideAtom.
std::optional<uint32_t> MasterIdOf(std::string_view image,
                                   const PageParts& parts);

// The slide's hidden flag from its slide-show information.
bool IsSlideHidden(std::string_view image, const PageParts& parts);

// The comments kept in the slide's programmable tags, in stored order.
std::vector<Comment> ReadComments(std::string_view image,
                                  const PageParts& parts, WorkBudget& budget);

// The document's headers-and-footers container of the given instance.
std::optional<RecordHeader> FindHeadersFooters(std::string_view image,
                                               const RecordHeader& document,
                                               uint16_t instance,
                                               WorkBudget& budget);

// The header, footer and user date texts the container shows, as
// HeaderText entries with the given place, in that order.
void AppendHeaderTexts(std::string_view image, const RecordHeader& container,
                       const char* place, WorkBudget& budget,
                       std::vector<HeaderText>& out);

// The target of the shape's mouse-click action, where that action follows
// a hyperlink of the list.
std::optional<std::string> ReadShapeLinkTarget(std::string_view image,
                                               const RecordHeader& shape,
                                               const HyperlinkTargets& targets,
                                               WorkBudget& budget);

// The links of the hyperlinked ranges among the records that follow a text
// atom in its parent (from `from` up to `end`, stopping at the next text's
// header, text atom or slide entry): each range's characters of units and
// its hyperlink's target.
void AppendRangeLinks(std::string_view image, uint32_t from, uint32_t end,
                      std::u16string_view units,
                      const HyperlinkTargets& targets, WorkBudget& budget,
                      std::vector<Link>& out);

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_SLIDE_RECORDS_H_
