#include "extract/fallback_walk.h"

#include <cstdint>
#include <vector>

#include "extract/record_layouts.h"
#include "extract/record_types.h"
#include "extract/record_view.h"

namespace txtppt2 {

namespace {

// A container's body is taken for records when its first child's header
// fits inside it and names a type of the format's ranges.
bool BodyIsRecords(std::string_view image, const RecordHeader& container) {
  using Header = RecordHeaderLayout;
  if (container.BodyLength() == 0) return true;
  if (container.BodyLength() < kRecordHeaderSize) return false;
  uint16_t type = LoadU16(image, container.BodyStart() + Header::kType);
  uint32_t length = LoadU32(image, container.BodyStart() + Header::kLength);
  bool knownRange = (type >= Header::kFirstPresentationType &&
                     type <= Header::kLastPresentationType) ||
                    (type >= Header::kFirstOfficeArtType &&
                     type <= Header::kLastOfficeArtType);
  return knownRange && length <= container.BodyLength() - kRecordHeaderSize;
}

}  // namespace

void WalkAllRecords(std::string_view image, WorkBudget& budget,
                    FallbackVisitor& visitor) {
  struct Frame {
    uint32_t next;
    uint32_t end;
    uint16_t type;  // of the container; 0 for the stream itself
  };
  std::vector<Frame> open{{0, static_cast<uint32_t>(image.size()), 0}};
  size_t slideIndex = 0;
  while (!open.empty()) {
    auto record = ReadRecordHeader(image, open.back().next, open.back().end);
    if (!record) {
      open.pop_back();
      continue;
    }
    if (!budget.Spend(kRecordHeaderSize)) return;
    open.back().next = record->End();
    uint16_t parent = open.back().type;
    if (record->IsContainer()) {
      if (record->type == kRtMainMaster || !BodyIsRecords(image, *record))
        continue;
      if (record->type == kRtSlide) visitor.OnSlide(*record, slideIndex++);
      open.push_back({record->BodyStart(), record->bodyEnd, record->type});
    } else if (IsTextAtom(record->type) &&
               (parent == kRtSlideListWithText ||
                parent == kOfficeArtClientTextbox)) {
      if (budget.Spend(record->BodyLength())) visitor.OnText(*record, nullptr);
    }
  }
}

}  // namespace txtppt2
