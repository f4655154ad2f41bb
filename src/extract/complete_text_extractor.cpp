#include "extract/complete_text_extractor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "extract/persist_directory.h"
#include "extract/record_types.h"
#include "extract/record_view.h"
#include "extract/stream_image.h"
#include "extract/text_sink.h"

namespace txtppt2 {

namespace {

// The "Current User" stream holds one small atom and a user name.
constexpr uint32_t kCurrentUserLimit = 64 * 1024;

// SlidePersistAtom body: persistIdRef first, slideId at 12.
constexpr uint32_t kPersistRefField = 0;
constexpr uint32_t kPageIdField = 12;
// SlideAtom body: geom, rgPlaceholderTypes[8], masterIdRef (the slideId of
// the page's master), then notesIdRef (that of the slide's notes page).
constexpr uint32_t kMasterIdField = 12;
constexpr uint32_t kNotesIdField = 16;
// A title master follows the main master: two levels of masters at most.
constexpr int kMasterLevels = 2;

bool IsTextAtom(uint16_t type) {
  return type == RT_TextCharsAtom || type == RT_TextBytesAtom ||
         type == RT_CString;
}

// Reads a 32-bit field of a record's body, if the body holds it.
std::optional<uint32_t> BodyField(std::string_view image,
                                  const RecordHeader& record, uint32_t field) {
  if (record.BodyLength() < field + 4) return std::nullopt;
  return LoadU32(image, record.BodyStart() + field);
}

// One slide's or notes page's entry in a slide list: the persist id of its
// container, its slide id, and the texts kept in the list for it, numbered
// as outline text references number them (one per TextHeaderAtom).
struct ListEntry {
  uint32_t persistRef = 0;
  uint32_t pageId = 0;
  std::vector<std::optional<RecordHeader>> texts;
};

// OEPlaceholderAtom body: position, then placementId, one byte; master
// placeholders 1 to 6 (title to notes body) hold prompts.
constexpr uint32_t kPlaceholderTypeField = 4;
constexpr uint8_t kFirstPromptPlaceholder = 0x01;
constexpr uint8_t kLastPromptPlaceholder = 0x06;

// Office drawing options: the property id is the low 14 bits of opid.
constexpr uint16_t kPropertyIdMask = 0x3FFF;
constexpr uint16_t kTablePropertiesId = 0x039F;

using EntriesById = std::unordered_map<uint32_t, const ListEntry*>;

// The text written for one page so far: which of its list texts a shape
// has shown, and (only where the list holds text) what the shapes wrote,
// so that a list text a shape repeats without referring to it is written
// once.
struct PageText {
  explicit PageText(const ListEntry* entry)
      : listTexts(entry != nullptr ? &entry->texts : nullptr),
        shown(listTexts != nullptr ? listTexts->size() : 0, false) {}

  const std::vector<std::optional<RecordHeader>>* listTexts;
  std::vector<bool> shown;
  // On a master, placeholders hold prompts ("Click to edit ..."), not text.
  bool skipPlaceholders = false;
  std::unordered_set<std::u16string> written;
};

template <typename Out>
class CompleteTextWriter {
 public:
  CompleteTextWriter(std::string_view image_, Out& out_)
      : image(image_),
        out(out_),
        budget(4 * uint64_t{image_.size()} + kBudgetFloor) {}

  void WriteLiveDocument(const LiveDocument& live);
  void WriteNestedWalk();

 private:
  // Every record visited costs its header and every text written its
  // length; the walk stops when the budget is spent, which bounds the time
  // of any input, however its offsets overlap, by a multiple of its size.
  static constexpr uint64_t kBudgetFloor = 64 * 1024;
  bool Spend(uint64_t cost) {
    if (cost > budget) {
      budget = 0;
      return false;
    }
    budget -= cost;
    return true;
  }

  std::vector<ListEntry> ReadSlideList(const RecordHeader& list);
  std::optional<RecordHeader> ResolvePage(uint32_t persistRef, uint16_t type,
                                          uint16_t otherType = 0);
  void WriteMasters(const RecordHeader& slide, const EntriesById& masters);
  void WritePage(const std::optional<RecordHeader>& page,
                 const ListEntry* entry);
  void WriteShapes(const RecordHeader& page, PageText& text);
  void WriteShape(const RecordHeader& shape, PageText& text);
  void WriteText(const RecordHeader& atom, PageText* text);
  std::u16string TextKey(const RecordHeader& atom) const;
  bool BodyIsRecords(const RecordHeader& container) const;
  bool IsPromptPlaceholder(const RecordHeader& shape) const;
  bool IsTable(const RecordHeader& group) const;
  void WriteTableCells(const RecordHeader& table, PageText& text);

  std::string_view image;
  Out& out;
  uint64_t budget;
  const PersistDirectory* directory = nullptr;
  std::unordered_set<uint32_t> pagesWritten;
  std::vector<WCHAR> aligned;  // UTF-16 text moved to an even address
};

template <typename Out>
void CompleteTextWriter<Out>::WriteLiveDocument(const LiveDocument& live) {
  directory = &live.directory;
  auto document = ReadRecordHeader(image, live.documentOffset,
                                   static_cast<uint32_t>(image.size()));
  if (!document) return;  // FindLiveDocument has checked it is there
  std::optional<RecordHeader> slideList, masterList, notesList;
  ForEachChild(image, *document, [&](const RecordHeader& child) {
    if (child.type == RT_SlideListWithText) {
      if (child.instance == kSlideListInstanceSlides && !slideList)
        slideList = child;
      if (child.instance == kSlideListInstanceMasters && !masterList)
        masterList = child;
      if (child.instance == kSlideListInstanceNotes && !notesList)
        notesList = child;
    }
    return Spend(kRecordHeaderSize);
  });
  if (!slideList) return;

  std::vector<ListEntry> masters, notes;
  if (masterList) masters = ReadSlideList(*masterList);
  if (notesList) notes = ReadSlideList(*notesList);
  EntriesById mastersById, notesById;
  for (const ListEntry& entry : masters)
    mastersById.emplace(entry.pageId, &entry);
  for (const ListEntry& entry : notes) notesById.emplace(entry.pageId, &entry);

  bool first = true;
  for (const ListEntry& entry : ReadSlideList(*slideList)) {
    if (!first) TextSink::AppendSeparator(out);
    first = false;
    auto slide = ResolvePage(entry.persistRef, RT_Slide);
    WritePage(slide, &entry);  // without a slide, the list's text alone
    if (!slide) continue;
    WriteMasters(*slide, mastersById);
    auto slideAtom = FindChild(image, *slide, RT_SlideAtom);
    auto notesId =
        slideAtom ? BodyField(image, *slideAtom, kNotesIdField) : std::nullopt;
    if (!notesId || *notesId == 0) continue;
    auto found = notesById.find(*notesId);
    if (found == notesById.end()) continue;
    if (auto page = ResolvePage(found->second->persistRef, RT_Notes))
      WritePage(*page, found->second);
  }
}

template <typename Out>
std::vector<ListEntry> CompleteTextWriter<Out>::ReadSlideList(
    const RecordHeader& list) {
  std::vector<ListEntry> entries;
  ForEachChild(image, list, [&](const RecordHeader& child) {
    if (child.type == RT_SlidePersistAtom) {
      ListEntry& entry = entries.emplace_back();
      entry.persistRef =
          BodyField(image, child, kPersistRefField).value_or(UINT32_MAX);
      entry.pageId = BodyField(image, child, kPageIdField).value_or(0);
    } else if (!entries.empty()) {
      // Other records (styles, rulers, interactive info) are skipped whole
      // and end nothing.
      auto& texts = entries.back().texts;
      if (child.type == RT_TextHeaderAtom) {
        texts.emplace_back();
      } else if (IsTextAtom(child.type)) {
        if (texts.empty() || texts.back()) texts.emplace_back();
        texts.back() = child;
      }
    }
    return Spend(kRecordHeaderSize);
  });
  return entries;
}

// The container saved for persistRef, if it has a type expected and has
// not been written already (two list entries may name the same page).
template <typename Out>
std::optional<RecordHeader> CompleteTextWriter<Out>::ResolvePage(
    uint32_t persistRef, uint16_t type, uint16_t otherType) {
  auto offset = directory->Find(persistRef);
  if (!offset) return std::nullopt;
  auto page =
      ReadRecordHeader(image, *offset, static_cast<uint32_t>(image.size()));
  if (!page || (page->type != type && page->type != otherType) ||
      !pagesWritten.insert(*offset).second)
    return std::nullopt;
  return page;
}

// The text a master shows on the slides that follow it (text boxes,
// footers; not the title and body prompts), written with the first slide
// that uses the master, and that of a title master's own master.
template <typename Out>
void CompleteTextWriter<Out>::WriteMasters(const RecordHeader& slide,
                                           const EntriesById& masters) {
  std::optional<RecordHeader> page = slide;
  for (int level = 0; level < kMasterLevels && page; ++level) {
    auto atom = FindChild(image, *page, RT_SlideAtom);
    auto masterId =
        atom ? BodyField(image, *atom, kMasterIdField) : std::nullopt;
    auto found = masterId ? masters.find(*masterId) : masters.end();
    if (found == masters.end()) return;
    page = ResolvePage(found->second->persistRef, RT_MainMaster, RT_Slide);
    if (!page) return;
    PageText text(nullptr);
    text.skipPlaceholders = true;
    WriteShapes(*page, text);
  }
}

// The page's shapes, then the list texts no shape showed or repeated.
template <typename Out>
void CompleteTextWriter<Out>::WritePage(const std::optional<RecordHeader>& page,
                                        const ListEntry* entry) {
  PageText text(entry);
  if (page) WriteShapes(*page, text);
  if (text.listTexts == nullptr) return;
  for (size_t i = 0; i < text.shown.size(); ++i) {
    const auto& atom = (*text.listTexts)[i];
    if (!atom || text.shown[i]) continue;
    if (text.written.count(TextKey(*atom)) == 0) WriteText(*atom, nullptr);
  }
}

// The shapes of the page's drawing in drawing order, groups (tables are
// groups too) entered where they stand. Only the drawing's own group tree
// is read: the deleted shapes kept after it are not text.
template <typename Out>
void CompleteTextWriter<Out>::WriteShapes(const RecordHeader& page,
                                          PageText& text) {
  auto drawing = FindChild(image, page, RT_Drawing);
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
    if (!Spend(kRecordHeaderSize)) return;
    open.back().next = child->End();
    if (child->type == kOfficeArtSpgrContainer && IsTable(*child))
      WriteTableCells(*child, text);
    else if (child->type == kOfficeArtSpgrContainer)
      open.push_back({child->BodyStart(), child->bodyEnd});
    else if (child->type == kOfficeArtSpContainer)
      WriteShape(*child, text);
  }
}

// A table is a group whose own shape carries the tableProperties property
// among its tertiary options ([MS-ODRAW] OfficeArtTertiaryFOPT).
template <typename Out>
bool CompleteTextWriter<Out>::IsTable(const RecordHeader& group) const {
  auto own = FindChild(image, group, kOfficeArtSpContainer);
  auto options =
      own ? FindChild(image, *own, kOfficeArtTertiaryFOPT) : std::nullopt;
  if (!options) return false;
  uint32_t end = options->BodyStart() +
                 std::min<uint32_t>(options->BodyLength(),
                                    uint32_t{options->instance} * 6);
  for (uint32_t at = options->BodyStart(); at + 6 <= end; at += 6)
    if ((LoadU16(image, at) & kPropertyIdMask) == kTablePropertiesId)
      return true;
  return false;
}

// A table's cells (its shapes after its own) in row order: by the top, then
// the left, of their anchors in the group; cells without an anchor last.
template <typename Out>
void CompleteTextWriter<Out>::WriteTableCells(const RecordHeader& table,
                                              PageText& text) {
  struct Cell {
    int64_t top, left;
    RecordHeader shape;
  };
  std::vector<Cell> cells;
  bool own = true;  // the first shape is the table's own
  ForEachChild(image, table, [&](const RecordHeader& child) {
    if (child.type == kOfficeArtSpContainer && !own) {
      auto anchor = FindChild(image, child, kOfficeArtChildAnchor);
      bool placed = anchor && anchor->BodyLength() >= 16;
      cells.push_back(
          {placed ? int32_t(LoadU32(image, anchor->BodyStart() + 4))
                  : INT64_MAX,
           placed ? int32_t(LoadU32(image, anchor->BodyStart())) : 0, child});
    }
    own = own && child.type != kOfficeArtSpContainer;
    return Spend(kRecordHeaderSize);
  });
  std::stable_sort(cells.begin(), cells.end(),
                   [](const Cell& a, const Cell& b) {
                     return a.top != b.top ? a.top < b.top : a.left < b.left;
                   });
  for (const Cell& cell : cells) WriteShape(cell.shape, text);
}

// A shape's own text box, or the list text its outline reference names.
template <typename Out>
void CompleteTextWriter<Out>::WriteShape(const RecordHeader& shape,
                                         PageText& text) {
  if (text.skipPlaceholders && IsPromptPlaceholder(shape)) return;
  std::optional<uint32_t> outlineRef;
  ForEachChild(image, shape, [&](const RecordHeader& part) {
    if (part.type == kOfficeArtClientTextbox ||
        part.type == kOfficeArtClientData) {
      ForEachChild(image, part, [&](const RecordHeader& record) {
        if (record.type == RT_OutlineTextRefAtom)
          outlineRef = BodyField(image, record, 0);
        else if (part.type == kOfficeArtClientTextbox &&
                 IsTextAtom(record.type))
          WriteText(record, &text);
        return Spend(kRecordHeaderSize);
      });
    }
    return Spend(kRecordHeaderSize);
  });
  if (!outlineRef || text.listTexts == nullptr) return;
  size_t index = *outlineRef;
  if (index >= text.shown.size() || text.shown[index]) return;
  const auto& atom = (*text.listTexts)[index];
  if (!atom) return;
  text.shown[index] = true;
  WriteText(*atom, &text);
}

template <typename Out>
void CompleteTextWriter<Out>::WriteText(const RecordHeader& atom,
                                        PageText* text) {
  if (!Spend(atom.BodyLength())) return;
  if (text != nullptr && text->listTexts != nullptr &&
      !text->listTexts->empty())
    text->written.insert(TextKey(atom));
  const char* body = image.data() + atom.BodyStart();
  if (atom.type == RT_TextBytesAtom) {
    TextSink::AppendAnsiText(out, body, atom.BodyLength());
    return;
  }
  // The sink reads UTF-16 units in place: text at an odd offset of the
  // image is copied to an aligned buffer first.
  if (reinterpret_cast<uintptr_t>(body) % alignof(WCHAR) != 0 &&
      atom.BodyLength() >= sizeof(WCHAR)) {
    aligned.resize(atom.BodyLength() / 2);
    std::memcpy(aligned.data(), body, aligned.size() * 2);
    body = reinterpret_cast<const char*>(aligned.data());
  }
  TextSink::AppendUtf16Text(out, body, atom.BodyLength());
}

// A text's characters, compared to tell a repeated text: UTF-16 units, or
// the bytes of an 8-bit text widened one by one.
template <typename Out>
std::u16string CompleteTextWriter<Out>::TextKey(
    const RecordHeader& atom) const {
  std::string_view body = BodyOf(image, atom);
  std::u16string key;
  if (atom.type == RT_TextBytesAtom) {
    for (char c : body) key.push_back(static_cast<unsigned char>(c));
  } else {
    for (uint32_t i = 0; i + 1 < body.size(); i += 2)
      key.push_back(LoadU16(body, i));
  }
  return key;
}

// Whether a master's shape is a placeholder whose text is a prompt: the
// title, body, subtitle and notes placeholders. Date, slide number, header
// and footer placeholders hold what the slides show.
template <typename Out>
bool CompleteTextWriter<Out>::IsPromptPlaceholder(
    const RecordHeader& shape) const {
  auto data = FindChild(image, shape, kOfficeArtClientData);
  auto atom = data ? FindChild(image, *data, RT_PlaceholderAtom) : std::nullopt;
  if (!atom || atom->BodyLength() < kPlaceholderTypeField + 1) return false;
  uint8_t type =
      static_cast<uint8_t>(image[atom->BodyStart() + kPlaceholderTypeField]);
  return type >= kFirstPromptPlaceholder && type <= kLastPromptPlaceholder;
}

// A container's body is taken for records when its first child's header
// fits inside it and names a type of the format's ranges; a body that is
// something else (a ZIP package, say) is skipped whole.
template <typename Out>
bool CompleteTextWriter<Out>::BodyIsRecords(
    const RecordHeader& container) const {
  if (container.BodyLength() == 0) return true;
  if (container.BodyLength() < kRecordHeaderSize) return false;
  uint16_t type = LoadU16(image, container.BodyStart() + 2);
  uint32_t length = LoadU32(image, container.BodyStart() + 4);
  bool knownRange =
      (type >= 0x03E8 && type <= 0x1772) || (type >= 0xF000 && type <= 0xF200);
  return knownRange && length <= container.BodyLength() - kRecordHeaderSize;
}

// The fallback: every record of the stream, nested by lengths, writing the
// text atoms of slide lists and of shapes' text boxes, and a separator
// before each slide after the first. Masters are skipped: their
// placeholder prompts are not slide text.
template <typename Out>
void CompleteTextWriter<Out>::WriteNestedWalk() {
  struct Frame {
    uint32_t next;
    uint32_t end;
    uint16_t type;
  };
  std::vector<Frame> open{{0, static_cast<uint32_t>(image.size()), 0}};
  bool firstSlide = true;
  while (!open.empty()) {
    auto record = ReadRecordHeader(image, open.back().next, open.back().end);
    if (!record) {
      open.pop_back();
      continue;
    }
    if (!Spend(kRecordHeaderSize)) return;
    open.back().next = record->End();
    uint16_t parent = open.back().type;
    if (record->IsContainer()) {
      if (record->type == RT_MainMaster || !BodyIsRecords(*record)) continue;
      if (record->type == RT_Slide) {
        if (!firstSlide) TextSink::AppendSeparator(out);
        firstSlide = false;
      }
      open.push_back({record->BodyStart(), record->bodyEnd, record->type});
    } else if (IsTextAtom(record->type) &&
               (parent == RT_SlideListWithText ||
                parent == kOfficeArtClientTextbox)) {
      WriteText(*record, nullptr);
    }
  }
}

}  // namespace

CompleteTextExtractor::CompleteTextExtractor(RecordStreamReader& document_,
                                             RecordStreamReader* currentUser_,
                                             uint32_t sizeLimit_)
    : document(document_), currentUser(currentUser_), sizeLimit(sizeLimit_) {}

void CompleteTextExtractor::Extract(NarrowOutputStream& out) { Run(out); }

void CompleteTextExtractor::Extract(WideOutputStream& out) { Run(out); }

template <typename Out>
void CompleteTextExtractor::Run(Out& out) {
  StreamImage image(document, sizeLimit);
  std::optional<StreamImage> user;
  if (currentUser != nullptr) {
    try {
      user.emplace(*currentUser, kCurrentUserLimit);
    } catch (const std::runtime_error&) {
      user.reset();  // an unreadable "Current User" is a missing one
    }
  }
  CompleteTextWriter<Out> writer(image.Bytes(), out);
  if (auto live = FindLiveDocument(image.Bytes(),
                                   user ? user->Bytes() : std::string_view()))
    writer.WriteLiveDocument(*live);
  else
    writer.WriteNestedWalk();
}

}  // namespace txtppt2
