#include "model/slide_records.h"

#include <algorithm>

#include "extract/record_layouts.h"
#include "extract/record_types.h"
#include "model/model_record_types.h"
#include "model/model_text.h"
#include "properties/file_time.h"

namespace txtppt2 {

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

// The text of the container's first kRtCString child of that instance.
std::string CStringChild(std::string_view image, const RecordHeader& parent,
                         uint16_t instance) {
  std::string text;
  ForEachChild(image, parent, [&](const RecordHeader& child) {
    if (child.type != kRtCString || child.instance != instance) return true;
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
                       WorkBudget& budget, Visit visit) {
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
  using Layout = Comment10AtomLayout;
  if (atom.BodyLength() < Layout::kTime + Layout::kTimeSize)
    return std::nullopt;
  uint32_t at = atom.BodyStart() + Layout::kTime;
  auto field = [&](int index) { return int{LoadU16(image, at + 2 * index)}; };
  // year, month, (day of week), day, hour, minute, second
  return CalendarTimeToIso(field(0), field(1), field(3), field(4), field(5),
                           field(6));
}

}  // namespace

HyperlinkTargets ReadHyperlinkTargets(std::string_view image,
                                      const RecordHeader& document,
                                      WorkBudget& budget) {
  using Layout = ExternalHyperlinkLayout;
  HyperlinkTargets targets;
  ForEachGrandchild(
      image, document, kRtExObjList, kRtExternalHyperlink, budget,
      [&](const RecordHeader& link) {
        auto atom = FindChild(image, link, kRtExternalHyperlinkAtom);
        auto id = atom ? Field32(image, *atom, ExternalHyperlinkAtomLayout::kId)
                       : std::nullopt;
        if (!id || !budget.Spend(link.BodyLength())) return;
        std::string target = CStringChild(image, link, Layout::kTarget);
        std::string location = CStringChild(image, link, Layout::kLocation);
        if (!target.empty() && !location.empty())
          target += "#" + location;
        else if (target.empty())
          target = std::move(location);
        if (target.empty())
          target = CStringChild(image, link, Layout::kFriendlyName);
        targets.emplace(*id, std::move(target));  // the first of an id wins
      });
  return targets;
}

PageParts ReadPageParts(std::string_view image, const RecordHeader& page,
                        WorkBudget& budget) {
  PageParts parts;
  ForEachChild(image, page, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    std::optional<RecordHeader>* slot =
        child.type == kRtSlideAtom                ? &parts.slideAtom
        : child.type == kRtSlideShowSlideInfoAtom ? &parts.showInfo
        : child.type == kRtHeadersFooters         ? &parts.headersFooters
        : child.type == kRtProgTags               ? &parts.tags
                                                  : nullptr;
    if (slot != nullptr && !*slot) *slot = child;
    return true;
  });
  return parts;
}

std::optional<uint32_t> MasterIdOf(std::string_view image,
                                   const PageParts& parts) {
  if (!parts.slideAtom) return std::nullopt;
  return Field32(image, *parts.slideAtom, SlideAtomLayout::kMasterIdRef);
}

bool IsSlideHidden(std::string_view image, const PageParts& parts) {
  using Layout = SlideShowSlideInfoAtomLayout;
  auto flags = parts.showInfo ? Field16(image, *parts.showInfo, Layout::kFlags)
                              : std::nullopt;
  return flags && (*flags & Layout::kHidden) != 0;
}

// Comment10 containers sit in the slide's programmable tags: in a
// ProgBinaryTag's data blob.
std::vector<Comment> ReadComments(std::string_view image,
                                  const PageParts& parts, WorkBudget& budget) {
  using Layout = Comment10Layout;
  std::vector<Comment> comments;
  if (!parts.tags) return comments;
  ForEachChild(image, *parts.tags, [&](const RecordHeader& tag) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (tag.type != kRtProgBinaryTag) return true;
    ForEachGrandchild(
        image, tag, kRtBinaryTagDataBlob, kRtComment10, budget,
        [&](const RecordHeader& container) {
          if (!budget.Spend(container.BodyLength())) return;
          Comment& comment = comments.emplace_back();
          comment.author = CStringChild(image, container, Layout::kAuthor);
          comment.text = CStringChild(image, container, Layout::kText);
          comment.initials = CStringChild(image, container, Layout::kInitials);
          if (auto atom = FindChild(image, container, kRtComment10Atom))
            comment.date = CommentDate(image, *atom);
        });
    return true;
  });
  return comments;
}

std::optional<RecordHeader> FindHeadersFooters(std::string_view image,
                                               const RecordHeader& document,
                                               uint16_t instance,
                                               WorkBudget& budget) {
  std::optional<RecordHeader> found;
  ForEachChild(image, document, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (child.type == kRtHeadersFooters && child.instance == instance)
      found = child;
    return !found;
  });
  return found;
}

void AppendHeaderTexts(std::string_view image, const RecordHeader& container,
                       const char* place, WorkBudget& budget,
                       std::vector<HeaderText>& out) {
  using Layout = HeadersFootersLayout;
  using Flags = HeadersFootersAtomLayout;
  if (!budget.Spend(container.BodyLength())) return;
  auto atom = FindChild(image, container, kRtHeadersFootersAtom);
  auto flags = atom ? Field16(image, *atom, Flags::kFlags) : std::nullopt;
  if (!flags) return;
  auto add = [&](bool shown, uint16_t instance, const char* kind) {
    if (!shown) return;
    std::string text = CStringChild(image, container, instance);
    if (!text.empty()) out.push_back({place, kind, std::move(text)});
  };
  add((*flags & Flags::kHasHeader) != 0, Layout::kHeader, "header");
  add((*flags & Flags::kHasFooter) != 0, Layout::kFooter, "footer");
  add((*flags & Flags::kHasDate) != 0 && (*flags & Flags::kHasUserDate) != 0,
      Layout::kUserDate, "date");
}

std::optional<std::string> ReadShapeLinkTarget(std::string_view image,
                                               const RecordHeader& shape,
                                               const HyperlinkTargets& targets,
                                               WorkBudget& budget) {
  using Layout = InteractiveInfoAtomLayout;
  std::optional<std::string> found;
  ForEachGrandchild(
      image, shape, kOfficeArtClientData, kRtInteractiveInfo, budget,
      [&](const RecordHeader& info) {
        if (found || info.instance != kMouseClickInstance) return;
        auto atom = FindChild(image, info, kRtInteractiveInfoAtom);
        if (!atom || atom->BodyLength() <= Layout::kAction ||
            static_cast<uint8_t>(image[atom->BodyStart() + Layout::kAction]) !=
                Layout::kHyperlinkAction)
          return;
        auto target = targets.find(LoadU32(image, atom->BodyStart() +
                                                      Layout::kHyperlinkId));
        if (target != targets.end()) found = target->second;
      });
  return found;
}

// Each range follows the interactive information that names its link.
void AppendRangeLinks(std::string_view image, uint32_t from, uint32_t end,
                      std::u16string_view units,
                      const HyperlinkTargets& targets, WorkBudget& budget,
                      std::vector<Link>& out) {
  using Range = TextInteractiveInfoAtomLayout;
  // The id of the link the next range belongs to, where one is named. (A
  // plain value and flag: GCC 12 warns, wrongly, that an optional's value
  // may be read uninitialised here.)
  uint32_t linkId = 0;
  bool linkNamed = false;
  while (auto record = ReadRecordHeader(image, from, end)) {
    if (!budget.Spend(kRecordHeaderSize)) return;
    from = record->End();
    if (record->type == kRtTextHeaderAtom ||
        record->type == kRtTextCharsAtom ||
        record->type == kRtTextBytesAtom ||
        record->type == kRtSlidePersistAtom)
      return;  // the next text's records
    if (record->type == kRtInteractiveInfo) {
      auto atom = FindChild(image, *record, kRtInteractiveInfoAtom);
      std::optional<uint32_t> id =
          atom ? Field32(image, *atom, InteractiveInfoAtomLayout::kHyperlinkId)
               : std::nullopt;
      linkNamed = id.has_value();
      linkId = id.value_or(0);
    } else if (record->type == kRtTextInteractiveInfoAtom && linkNamed) {
      auto target = targets.find(linkId);
      auto begin = Field32(image, *record, Range::kBegin);
      auto stop = Field32(image, *record, Range::kEnd);
      linkNamed = false;
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
