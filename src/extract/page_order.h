// WalkLivePages: the pages of the live document in the order their text is
// read. For each entry of the slides' slide list: the slide, then (the
// first time a slide uses it) its master and that master's own master,
// then the slide's notes page. Pages are found through the persist
// directory; each container is visited once, however many list entries
// name it.
//
// Hostile input: every record read costs the shared budget its header, and
// a persist id that misses, or names a record of another type, gives no
// page (a slide in that case still comes with its list entry).
#ifndef TXTPPT2_EXTRACT_PAGE_ORDER_H_
#define TXTPPT2_EXTRACT_PAGE_ORDER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "extract/persist_directory.h"
#include "extract/record_view.h"
#include "extract/work_budget.h"

namespace txtppt2 {

// One page's entry in a slide list: the persist id of its container, its
// slide id, and the texts kept in the list for it, numbered as outline
// text references number them (one per TextHeaderAtom; an entry without
// a text atom is empty).
struct SlideListEntry {
  uint32_t persistRef{};
  uint32_t pageId{};
  std::vector<std::optional<RecordHeader>> texts;
};

enum class PageRole { kSlide, kMaster, kNotes };

struct PageVisit {
  PageRole role = PageRole::kSlide;
  // The slide (counted from 0 in the slide list) with which the page is
  // read.
  size_t slideIndex{};
  // The page's container (RT_Slide, RT_MainMaster or RT_Notes); empty for
  // a slide whose container is missing, which has its list text alone.
  std::optional<RecordHeader> container;
  // The page's slide-list entry; null for masters, whose list text is not
  // read.
  const SlideListEntry* listEntry = nullptr;
};

class PageVisitor {
 public:
  virtual ~PageVisitor() = default;
  virtual void OnPage(const PageVisit& page) = 0;
};

void WalkLivePages(std::string_view image, const LiveDocument& live,
                   WorkBudget& budget, PageVisitor& visitor);

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_PAGE_ORDER_H_
