#include "extract/drawing_text_walk.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "extract/record_layouts.h"
#include "extract/record_types.h"

namespace txtppt2 {

namespace {

// The text of one page so far: which of its list texts a shape has shown,
// and (only where the list holds text) what the shapes wrote, so that a
// list text a shape repeats without referring to it is handed on once.
class PageTextWalk {
 public:
  PageTextWalk(std::string_view image_, const PageVisit& page,
               WorkBudget& budget_, TextAtomVisitor& visitor_)
      : image(image_),
        budget(budget_),
        visitor(visitor_),
        listTexts(page.listEntry != nullptr ? &page.listEntry->texts : nullptr),
        shown(listTexts != nullptr ? listTexts->size() : 0, false),
        skipPlaceholders(page.role == PageRole::kMaster) {}

  void Run(const std::optional<RecordHeader>& container);

 private:
  void WalkShapes(const RecordHeader& page);
  bool IsTable(const RecordHeader& group) const;
  void WalkTableCells(const RecordHeader& table);
  void WalkShape(const RecordHeader& shape);
  bool IsPromptPlaceholder(const RecordHeader& shape) const;
  void HandOn(const RecordHeader& atom, const RecordHeader* shape);
  std::u16string TextKey(const RecordHeader& atom) const;

  std::string_view image;
  WorkBudget& budget;
  TextAtomVisitor& visitor;
  const std::vector<std::optional<RecordHeader>>* listTexts;
  std::vector<bool> shown;
  bool skipPlaceholders;
  std::unordered_set<std::u16string> written;
};

// The page's shapes, then the list texts no shape showed or repeated.
void PageTextWalk::Run(const std::optional<RecordHeader>& container) {
  if (container) WalkShapes(*container);
  if (listTexts == nullptr) return;
  for (size_t i = 0; i < shown.size(); ++i) {
    const auto& atom = (*listTexts)[i];
    if (!atom || shown[i]) continue;
    if (written.count(TextKey(*atom)) == 0) HandOn(*atom, nullptr);
  }
}

void PageTextWalk::WalkShapes(const RecordHeader& page) {
  auto drawing = FindChild(image, page, kRtDrawing);
  auto container = drawing ? FindChild(image, *drawing, kOfficeArtDgContainer)
                           : std::nullopt;
  auto tree = container ? FindChild(image, *container, kOfficeArtSpgrContainer)
                        : std::nullopt;
  if (!tree) return;
  struct Range {
    uint32_t next;
    uint32_t end;
  };
  std::vector<Range> open{{tree->BodyStart(), tree->bodyEnd}};
  while (!open.empty()) {
    auto child = ReadRecordHeader(image, open.back().next, open.back().end);
    if (!child) {
      open.pop_back();
      continue;
    }
    if (!budget.Spend(kRecordHeaderSize)) return;
    open.back().next = child->End();
    if (child->type == kOfficeArtSpgrContainer && IsTable(*child))
      WalkTableCells(*child);
    else if (child->type == kOfficeArtSpgrContainer)
      open.push_back({child->BodyStart(), child->bodyEnd});
    else if (child->type == kOfficeArtSpContainer)
      WalkShape(*child);
  }
}

// A table is a group whose own shape carries the tableProperties property
// among its tertiary options ([MS-ODRAW] OfficeArtTertiaryFOPT).
bool PageTextWalk::IsTable(const RecordHeader& group) const {
  using Fopt = OfficeArtFoptLayout;
  auto own = FindChild(image, group, kOfficeArtSpContainer);
  auto options =
      own ? FindChild(image, *own, kOfficeArtTertiaryFOPT) : std::nullopt;
  if (!options) return false;
  uint32_t end =
      options->BodyStart() +
      std::min<uint32_t>(options->BodyLength(),
                         uint32_t{options->instance} * Fopt::kEntrySize);
  for (uint32_t at = options->BodyStart(); at + Fopt::kEntrySize <= end;
       at += Fopt::kEntrySize) {
    uint16_t opid = LoadU16(image, at + Fopt::kOpid);
    if ((opid & Fopt::kPropertyIdMask) == Fopt::kTablePropertiesId) return true;
  }
  return false;
}

// A table's cells (its shapes after its own) in row order: by the top, then
// the left, of their anchors in the group; cells without an anchor last.
// The lines among them are the borders: read in their place, for any text
// they hold, but no cells.
void PageTextWalk::WalkTableCells(const RecordHeader& table) {
  struct Cell {
    int64_t top, left;
    RecordHeader shape;
    bool border;
  };
  std::vector<Cell> cells;
  bool own = true;  // the first shape is the table's own
  ForEachChild(image, table, [&](const RecordHeader& child) {
    if (child.type == kOfficeArtSpContainer && !own) {
      auto fsp = FindChild(image, child, kOfficeArtFSP);
      bool border = fsp && fsp->instance == kShapeTypeLine;
      auto anchor = FindChild(image, child, kOfficeArtChildAnchor);
      if (anchor && anchor->BodyLength() >= ChildAnchorLayout::kSize) {
        uint32_t body = anchor->BodyStart();
        cells.push_back(
            {int32_t(LoadU32(image, body + ChildAnchorLayout::kTop)),
             int32_t(LoadU32(image, body + ChildAnchorLayout::kLeft)), child,
             border});
      } else {
        cells.push_back({INT64_MAX, 0, child, border});
      }
    }
    own = own && child.type != kOfficeArtSpContainer;
    return budget.Spend(kRecordHeaderSize);
  });
  std::stable_sort(cells.begin(), cells.end(),
                   [](const Cell& a, const Cell& b) {
                     return a.top != b.top ? a.top < b.top : a.left < b.left;
                   });
  // A row: the cells that share a top.
  visitor.OnTableBegin();
  const Cell* last = nullptr;  // the last cell that was no border
  for (const Cell& cell : cells) {
    if (!cell.border) {
      visitor.OnTableCell(last == nullptr || cell.top != last->top);
      last = &cell;
    }
    WalkShape(cell.shape);
  }
  visitor.OnTableEnd();
}

// A shape's own text box, or the list text its outline reference names.
void PageTextWalk::WalkShape(const RecordHeader& shape) {
  if (skipPlaceholders && IsPromptPlaceholder(shape)) return;
  visitor.OnShape(shape);
  std::optional<uint32_t> outlineRef;
  ForEachChild(image, shape, [&](const RecordHeader& part) {
    if (part.type == kOfficeArtClientTextbox ||
        part.type == kOfficeArtClientData) {
      ForEachChild(image, part, [&](const RecordHeader& record) {
        if (record.type == kRtOutlineTextRefAtom)
          outlineRef =
              BodyFieldU32(image, record, OutlineTextRefAtomLayout::kIndex);
        else if (part.type == kOfficeArtClientTextbox &&
                 IsTextAtom(record.type))
          HandOn(record, &shape);
        return budget.Spend(kRecordHeaderSize);
      });
    }
    return budget.Spend(kRecordHeaderSize);
  });
  if (!outlineRef || listTexts == nullptr) return;
  size_t index = *outlineRef;
  if (index >= shown.size() || shown[index]) return;
  const auto& atom = (*listTexts)[index];
  if (!atom) return;
  shown[index] = true;
  HandOn(*atom, &shape);
}

// Whether a master's shape is a placeholder whose text is a prompt: the
// title, body, subtitle and notes placeholders. Date, slide number, header
// and footer placeholders hold what the slides show.
bool PageTextWalk::IsPromptPlaceholder(const RecordHeader& shape) const {
  using Placeholder = PlaceholderAtomLayout;
  auto data = FindChild(image, shape, kOfficeArtClientData);
  auto atom = data ? FindChild(image, *data, kRtPlaceholderAtom) : std::nullopt;
  if (!atom || atom->BodyLength() < Placeholder::kPlacementId + 1) return false;
  uint8_t placement = static_cast<uint8_t>(
      image[atom->BodyStart() + Placeholder::kPlacementId]);
  return placement >= Placeholder::kFirstPromptPlacement &&
         placement <= Placeholder::kLastPromptPlacement;
}

void PageTextWalk::HandOn(const RecordHeader& atom, const RecordHeader* shape) {
  if (!budget.Spend(atom.BodyLength())) return;
  // What shapes show is remembered; the list's leftovers (no shape) are
  // each compared with that alone.
  if (shape != nullptr && listTexts != nullptr && !listTexts->empty())
    written.insert(TextKey(atom));
  visitor.OnText(atom, shape);
}

// A text's characters, compared to tell a repeated text: UTF-16 units, or
// the bytes of an 8-bit text widened one by one.
std::u16string PageTextWalk::TextKey(const RecordHeader& atom) const {
  std::string_view body = BodyOf(image, atom);
  std::u16string key;
  if (atom.type == kRtTextBytesAtom) {
    for (char c : body) key.push_back(static_cast<unsigned char>(c));
  } else {
    for (uint32_t i = 0; i + 1 < body.size(); i += 2)
      key.push_back(LoadU16(body, i));
  }
  return key;
}

}  // namespace

void WalkPageText(std::string_view image, const PageVisit& page,
                  WorkBudget& budget, TextAtomVisitor& visitor) {
  PageTextWalk(image, page, budget, visitor).Run(page.container);
}

}  // namespace txtppt2
