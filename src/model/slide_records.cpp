#include "model/slide_records.h"

#include <algorithm>

#include "extract/record_types.h"
#include "model/model_record_types.h"
#include "model/model_text.h"
#include "properties/file_time.h"

namespace txtppt2 {

using namespace model_records;

namespace {

std::optional<uint32_t> Field32(std::string_view image,
                                const RecordHeader& record, uint32_t field) {
  if (record.BodyLength() < field + 4) return std::nullopt;
  return LoadU32(image, record.BodyStart() + field);
}

std::optional<uint16_t> Field16(std::string_view image,
                                const RecordHeader& record, uint32_t field) {
  if (record.BodyLength() < field + 2) return std::nullopt;
  return LoadU16(image, record.BodyStart() + field);
}

// The text of the container's first RT_CString child of that instance.
std::string CStringChild(std::string_view image, const RecordHeader& parent,
                         uint16_t instance) {
  std::string text;
  ForEachChild(image, parent, [&](const RecordHeader& child) {
    if (child.type != RT_CString || child.instance != instance) return true;
    text = TrimmedText(AtomUnits(image, child));
    return false;
  });
  return text;
}

// Calls visit for each child of the given type of each record of the
// given type among parent's children (an atom's body may hold records too:
// a binary tag's data does).
template <typename Visit>
void ForEachGrandchild(std::string_view image, const RecordHeader& parent,
                       uint16_t childType, uint16_t grandchildType,
                       ReadBudget& budget, Visit visit) {
  ForEachChild(image, parent, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (child.type != childType) return true;
    ForEachChild(image, child, [&](const RecordHeader& grandchild) {
      if (!budget.Spend(kRecordHeaderSize)) return false;
      if (grandchild.type == grandchildType) visit(grandchild);
      return true;
    });
    return true;
  });
}

// The comment's date: its SYSTEMTIME's fields as they stand.
std::optional<std::string> CommentDate(std::string_view image,
                                       const RecordHeader& atom) {
  if (atom.BodyLength() < kCommentTimeField + kSystemTimeSize)
    return std::nullopt;
  uint32_t at = atom.BodyStart() + kCommentTimeField;
  auto field = [&](int index) { return int{LoadU16(image, at + 2 * index)}; };
  // year, month, (day of week), day, hour, minute, second
  return CalendarTimeToIso(field(0), field(1), field(3), field(4), field(5),
                           field(6));
}

}  // namespace

HyperlinkTargets ReadHyperlinkTargets(std::string_view image,
                                      const RecordHeader& document,
                                      ReadBudget& budget) {
  HyperlinkTargets targets;
  ForEachGrandchild(
      image, document, RT_ExObjList, RT_ExternalHyperlink, budget,
      [&](const RecordHeader& link) {
        auto atom = FindChild(image, link, RT_ExternalHyperlinkAtom);
        auto id = atom ? Field32(image, *atom, 0) : std::nullopt;
        if (!id || !budget.Spend(link.BodyLength())) return;
        // The target, with the location within it after a "#"; the
        // location alone for a place in this document; the friendly name
        // where neither is stored (it is the address as typed then).
        std::string target =
            CStringChild(image, link, kHyperlinkTargetInstance);
        std::string location =
            CStringChild(image, link, kHyperlinkLocationInstance);
        if (!target.empty() && !location.empty())
          target += "#" + location;
        else if (target.empty())
          target = std::move(location);
        if (target.empty())
          target = CStringChild(image, link, kHyperlinkFriendlyNameInstance);
        targets.emplace(*id, std::move(target));
      });
  return targets;
}

PageParts ReadPageParts(std::string_view image, const RecordHeader& page,
                        ReadBudget& budget) {
  PageParts parts;
  ForEachChild(image, page, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    std::optional<RecordHeader>* slot =
        child.type == RT_SlideAtom                ? &parts.slideAtom
        : child.type == RT_SlideShowSlideInfoAtom ? &parts.showInfo
        : child.type == RT_HeadersFooters         ? &parts.headersFooters
        : child.type == RT_ProgTags               ? &parts.tags
                                                  : nullptr;
    if (slot != nullptr && !*slot) *slot = child;
    return true;
  });
  return parts;
}

std::optional<uint32_t> MasterIdOf(std::string_view image,
                                   const PageParts& parts) {
  if (!parts.slideAtom) return std::nullopt;
  return Field32(image, *parts.slideAtom, kMasterIdField);
}

bool IsSlideHidden(std::string_view image, const PageParts& parts) {
  auto flags = parts.showInfo
                   ? Field16(image, *parts.showInfo, kSlideShowFlagsField)
                   : std::nullopt;
  return flags && (*flags & kSlideHidden) != 0;
}

// Comment10 containers sit in the slide's programmable tags: a
// ProgBinaryTag, then its data blob.
std::vector<Comment> ReadComments(std::string_view image,
                                  const PageParts& parts, ReadBudget& budget) {
  std::vector<Comment> comments;
  if (!parts.tags) return comments;
  ForEachChild(image, *parts.tags, [&](const RecordHeader& tag) {
        if (!budget.Spend(kRecordHeaderSize)) return false;
        if (tag.type != RT_ProgBinaryTag) return true;
        ForEachGrandchild(
            image, tag, RT_BinaryTagDataBlob, RT_Comment10, budget,
            [&](const RecordHeader& container) {
              if (!budget.Spend(container.BodyLength())) return;
              Comment& comment = comments.emplace_back();
              comment.author =
                  CStringChild(image, container, kCommentAuthorInstance);
              comment.text =
                  CStringChild(image, container, kCommentTextInstance);
              comment.initials =
                  CStringChild(image, container, kCommentInitialsInstance);
              if (auto atom = FindChild(image, container, RT_Comment10Atom))
                comment.date = CommentDate(image, *atom);
            });
        return true;
      });
  return comments;
}

std::optional<RecordHeader> FindHeadersFooters(
    std::string_view image, const RecordHeader& page,
    std::optional<uint16_t> wantedInstance, ReadBudget& budget) {
  std::optional<RecordHeader> found;
  ForEachChild(image, page, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (child.type == RT_HeadersFooters &&
        (!wantedInstance || child.instance == *wantedInstance))
      found = child;
    return !found;
  });
  return found;
}

void AppendHeaderTexts(std::string_view image, const RecordHeader& container,
                       const char* place, ReadBudget& budget,
                       std::vector<HeaderText>& out) {
  if (!budget.Spend(container.BodyLength())) return;
  auto atom = FindChild(image, container, RT_HeadersFootersAtom);
  auto flags =
      atom ? Field16(image, *atom, kHeadersFootersFlagsField) : std::nullopt;
  if (!flags) return;
  auto add = [&](bool shown, uint16_t instance, const char* kind) {
    if (!shown) return;
    std::string text = CStringChild(image, container, instance);
    if (!text.empty()) out.push_back({place, kind, std::move(text)});
  };
  add((*flags & kHasHeader) != 0, kHeaderInstance, "header");
  add((*flags & kHasFooter) != 0, kFooterInstance, "footer");
  add((*flags & kHasDate) != 0 && (*flags & kHasUserDate) != 0,
      kUserDateInstance, "date");
}

// Each range follows the interactive information that names its link.
void AppendRangeLinks(std::string_view image, uint32_t from, uint32_t end,
                      std::u16string_view units,
                      const HyperlinkTargets& targets, ReadBudget& budget,
                      std::vector<Link>& out) {
  std::optional<uint32_t> linkId;
  while (auto record = ReadRecordHeader(image, from, end)) {
    if (!budget.Spend(kRecordHeaderSize)) return;
    from = record->End();
    if (record->type == RT_TextHeaderAtom || record->type == RT_TextCharsAtom ||
        record->type == RT_TextBytesAtom || record->type == RT_SlidePersistAtom)
      return;  // the next text's records
    if (record->type == RT_InteractiveInfo) {
      auto atom = FindChild(image, *record, RT_InteractiveInfoAtom);
      linkId = atom ? Field32(image, *atom, kHyperlinkIdField) : std::nullopt;
    } else if (record->type == RT_TextInteractiveInfoAtom && linkId) {
      auto target = targets.find(*linkId);
      auto begin = Field32(image, *record, kRangeBeginField);
      auto stop = Field32(image, *record, kRangeEndField);
      linkId.reset();
      if (target == targets.end() || !begin || !stop) continue;
      size_t first = std::min<size_t>(*begin, units.size());
      size_t last = std::min<size_t>(std::max(*begin, *stop), units.size());
      std::string text = TrimmedText(units.substr(first, last - first));
      if (!budget.Spend(text.size() + target->second.size())) return;
      out.push_back({std::move(text), target->second});
    }
  }
}

}  // namespace txtppt2
