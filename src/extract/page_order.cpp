#include "extract/page_order.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "extract/record_layouts.h"
#include "extract/record_types.h"
#include "extract/text_atom_visitor.h"

namespace txtppt2 {

namespace {

// A title master follows the main master: two levels of masters at most.
constexpr int kMasterLevels = 2;

using EntriesById = std::unordered_map<uint32_t, const SlideListEntry*>;

class PageWalk {
 public:
  PageWalk(std::string_view image_, const LiveDocument& live_,
           WorkBudget& budget_, PageVisitor& visitor_)
      : image(image_), live(live_), budget(budget_), visitor(visitor_) {}

  void Run();

 private:
  std::vector<SlideListEntry> ReadSlideList(const RecordHeader& list);
  std::optional<RecordHeader> ResolvePage(
      uint32_t persistRef, std::initializer_list<uint16_t> types);
  void VisitMasters(const RecordHeader& slide, size_t slideIndex,
                    const EntriesById& masters);

  std::string_view image;
  const LiveDocument& live;
  WorkBudget& budget;
  PageVisitor& visitor;
  std::unordered_set<uint32_t> pagesVisited;
};

void PageWalk::Run() {
  auto document = ReadRecordHeader(image, live.documentOffset,
                                   static_cast<uint32_t>(image.size()));
  if (!document) return;  // FindLiveDocument has checked it is there
  std::optional<RecordHeader> slideList, masterList, notesList;
  ForEachChild(image, *document, [&](const RecordHeader& child) {
    if (child.type == kRtSlideListWithText) {
      if (child.instance == kSlideListInstanceSlides && !slideList)
        slideList = child;
      if (child.instance == kSlideListInstanceMasters && !masterList)
        masterList = child;
      if (child.instance == kSlideListInstanceNotes && !notesList)
        notesList = child;
    }
    return budget.Spend(kRecordHeaderSize);
  });
  if (!slideList) return;

  std::vector<SlideListEntry> masters, notes;
  if (masterList) masters = ReadSlideList(*masterList);
  if (notesList) notes = ReadSlideList(*notesList);
  EntriesById mastersById, notesById;
  for (const SlideListEntry& entry : masters)
    mastersById.emplace(entry.pageId, &entry);
  for (const SlideListEntry& entry : notes)
    notesById.emplace(entry.pageId, &entry);

  size_t slideIndex = 0;
  for (const SlideListEntry& entry : ReadSlideList(*slideList)) {
    auto slide = ResolvePage(entry.persistRef, {kRtSlide});
    // Without a slide container, the list's text alone.
    visitor.OnPage({PageRole::kSlide, slideIndex, slide, &entry});
    if (slide) {
      VisitMasters(*slide, slideIndex, mastersById);
      auto slideAtom = FindChild(image, *slide, kRtSlideAtom);
      auto notesId = slideAtom ? BodyFieldU32(image, *slideAtom,
                                              SlideAtomLayout::kNotesIdRef)
                               : std::nullopt;
      auto found =
          notesId && *notesId != 0 ? notesById.find(*notesId) : notesById.end();
      if (found != notesById.end()) {
        if (auto page = ResolvePage(found->second->persistRef, {kRtNotes}))
          visitor.OnPage({PageRole::kNotes, slideIndex, page, found->second});
      }
    }
    ++slideIndex;
  }
}

std::vector<SlideListEntry> PageWalk::ReadSlideList(const RecordHeader& list) {
  std::vector<SlideListEntry> entries;
  ForEachChild(image, list, [&](const RecordHeader& child) {
    if (child.type == kRtSlidePersistAtom) {
      SlideListEntry& entry = entries.emplace_back();
      entry.persistRef =
          BodyFieldU32(image, child, SlidePersistAtomLayout::kPersistIdRef)
              .value_or(UINT32_MAX);
      entry.pageId =
          BodyFieldU32(image, child, SlidePersistAtomLayout::kSlideId)
              .value_or(0);
    } else if (!entries.empty()) {
      // Other records (styles, rulers, interactive info) are skipped whole
      // and end nothing.
      auto& texts = entries.back().texts;
      if (child.type == kRtTextHeaderAtom) {
        texts.emplace_back();
      } else if (IsTextAtom(child.type)) {
        if (texts.empty() || texts.back()) texts.emplace_back();
        texts.back() = child;
      }
    }
    return budget.Spend(kRecordHeaderSize);
  });
  return entries;
}

// The container saved for persistRef, if it has one of the types expected
// and has not been visited already (two list entries may name the same
// page).
std::optional<RecordHeader> PageWalk::ResolvePage(
    uint32_t persistRef, std::initializer_list<uint16_t> types) {
  auto offset = live.directory.Find(persistRef);
  if (!offset) return std::nullopt;
  auto page =
      ReadRecordHeader(image, *offset, static_cast<uint32_t>(image.size()));
  if (!page) return std::nullopt;
  bool expected = false;
  for (uint16_t type : types) expected = expected || page->type == type;
  if (!expected || !pagesVisited.insert(*offset).second) return std::nullopt;
  return page;
}

// The master whose text the slide shows, and that master's own master (a
// title master's), each the first time a slide uses it.
void PageWalk::VisitMasters(const RecordHeader& slide, size_t slideIndex,
                            const EntriesById& masters) {
  std::optional<RecordHeader> page = slide;
  for (int level = 0; level < kMasterLevels && page; ++level) {
    auto atom = FindChild(image, *page, kRtSlideAtom);
    auto masterId =
        atom ? BodyFieldU32(image, *atom, SlideAtomLayout::kMasterIdRef)
             : std::nullopt;
    auto found = masterId ? masters.find(*masterId) : masters.end();
    if (found == masters.end()) return;
    page = ResolvePage(found->second->persistRef, {kRtMainMaster, kRtSlide});
    if (!page) return;
    visitor.OnPage({PageRole::kMaster, slideIndex, page, nullptr});
  }
}

}  // namespace

void WalkLivePages(std::string_view image, const LiveDocument& live,
                   WorkBudget& budget, PageVisitor& visitor) {
  PageWalk(image, live, budget, visitor).Run();
}

}  // namespace txtppt2
