#include "model/presentation_builder.h"

#include <algorithm>

#include "extract/drawing_text_walk.h"
#include "extract/record_layouts.h"
#include "extract/record_types.h"
#include "extract/text_atom_visitor.h"
#include "model/model_record_types.h"
#include "model/model_text.h"

namespace txtppt2 {

namespace {

bool IsTitleTextType(uint32_t type) {
  return type == TextHeaderAtomLayout::kTitle ||
         type == TextHeaderAtomLayout::kCenteredTitle;
}

bool IsTitlePlacement(uint8_t placement) {
  return placement == TitlePlacement::kTitle ||
         placement == TitlePlacement::kCenteredTitle ||
         placement == TitlePlacement::kVerticalTitle;
}

}  // namespace

PresentationBuilder::PresentationBuilder(Presentation& presentation_)
    : presentation(presentation_) {}

void PresentationBuilder::OnStart(std::string_view image_,
                                  const LiveDocument* live,
                                  WorkBudget& walkBudget_) {
  image = image_;
  walkBudget = &walkBudget_;
  budget.emplace(image.size());
  mendedChain = live != nullptr && live->mended;
  if (live == nullptr) return;
  auto document = ReadRecordHeader(image, live->documentOffset,
                                   static_cast<uint32_t>(image.size()));
  if (!document) return;
  targets = ReadHyperlinkTargets(image, *document, *budget);
  using Layout = HeadersFootersLayout;
  if (auto slides = FindHeadersFooters(image, *document,
                                       Layout::kSlidesInstance, *budget))
    AppendHeaderTexts(image, *slides, "slide", *budget, documentSlideHeaders);
  if (auto notes = FindHeadersFooters(image, *document,
                                      Layout::kNotesInstance, *budget))
    AppendHeaderTexts(image, *notes, "notes", *budget, documentNotesHeaders);
  // The walk reads the first list of slides; so does the index.
  ForEachChild(image, *document, [&](const RecordHeader& child) {
    if (!budget->Spend(kRecordHeaderSize)) return false;
    if (child.type != kRtSlideListWithText ||
        child.instance != kSlideListInstanceSlides)
      return true;
    IndexSlideList(child);
    return false;
  });
  // A slide for each list entry, most likely: no moving them as they come.
  presentation.slides.reserve(listTitles.size());
  pageless.reserve(listTitles.size());
}

// Each entry's texts by the atom's offset with the type of the text header
// before it, and each entry's first title text.
void PresentationBuilder::IndexSlideList(const RecordHeader& list) {
  std::optional<uint32_t> textType;
  ForEachChild(image, list, [&](const RecordHeader& child) {
    if (!budget->Spend(kRecordHeaderSize)) return false;
    if (child.type == kRtSlidePersistAtom) {
      listTitles.emplace_back();
      textType.reset();
    } else if (child.type == kRtTextHeaderAtom) {
      textType = child.BodyLength() >= 4
                     ? std::optional(LoadU32(image, child.BodyStart()))
                     : std::nullopt;
    } else if (IsTextAtom(child.type) && textType && !listTitles.empty()) {
      listTexts.push_back({child.offset, *textType, list.bodyEnd});
      if (IsTitleTextType(*textType) && !listTitles.back() &&
          budget->Spend(child.BodyLength())) {
        std::string title = TrimmedText(AtomUnits(image, child));
        if (!title.empty()) listTitles.back() = std::move(title);
      }
    }
    return true;
  });
}

// The list's entry for the atom, or null where it is none of the list's.
const PresentationBuilder::ListText* PresentationBuilder::FindListText(
    const RecordHeader& atom) const {
  auto found = std::lower_bound(listTexts.begin(), listTexts.end(), atom.offset,
                                [](const ListText& text, uint32_t offset) {
                                  return text.offset < offset;
                                });
  return found != listTexts.end() && found->offset == atom.offset ? &*found
                                                                  : nullptr;
}

void PresentationBuilder::OnPage(const PageVisit& page) {
  CloseShapeLink();
  inTable = false;
  if (page.role == PageRole::kSlide)
    BeginSlide(page.container);
  else if (page.role == PageRole::kMaster && page.container)
    BeginMaster(*page.container);
  else if (page.role == PageRole::kNotes && page.container)
    BeginNotes(*page.container);
  WalkPageText(image, page, *walkBudget, *this);
  StoreText();
}

// The fallback walk writes the slide lists' text before the first slide
// container: that text belongs to the first slide.
void PresentationBuilder::OnSlide(const RecordHeader& slide,
                                  size_t slideIndex) {
  CloseShapeLink();
  StoreText();
  if (slideIndex == 0 && !presentation.slides.empty())
    ReadSlideParts(slide);
  else
    BeginSlide(slide);
}

Slide& PresentationBuilder::CurrentSlide() {
  if (presentation.slides.empty()) {
    presentation.slides.emplace_back();
    pageless.push_back(false);
  }
  return presentation.slides.back();
}

void PresentationBuilder::BeginSlide(const std::optional<RecordHeader>& slide) {
  CloseSlide();
  presentation.slides.emplace_back();
  pageless.push_back(!slide);
  reading = Reading::kSlide;
  nextMasterId.reset();
  if (slide) ReadSlideParts(*slide);
}

// The open slide's hidden flag, comments, own headers and master.
void PresentationBuilder::ReadSlideParts(const RecordHeader& slide) {
  Slide& opened = presentation.slides.back();
  PageParts parts = ReadPageParts(image, slide, *budget);
  opened.hidden = IsSlideHidden(image, parts);
  opened.comments = ReadComments(image, parts, *budget);
  if (parts.headersFooters) {
    slideOwnHeaders.emplace();
    AppendHeaderTexts(image, *parts.headersFooters, "slide", *budget,
                      *slideOwnHeaders);
  }
  slideMasterId = MasterIdOf(image, parts);
  nextMasterId = slideMasterId;
}

// The slide's headers lead its list: its own, else its master's, else the
// document's.
void PresentationBuilder::CloseSlide() {
  if (presentation.slides.empty()) return;
  const std::vector<HeaderText>* shown = &documentSlideHeaders;
  if (slideOwnHeaders) {
    shown = &*slideOwnHeaders;
  } else if (slideMasterId) {
    auto found = masterHeaders.find(*slideMasterId);
    if (found != masterHeaders.end()) shown = &found->second;
  }
  auto& headers = presentation.slides.back().headers;
  headers.insert(headers.begin(), shown->begin(), shown->end());
  slideOwnHeaders.reset();
  slideMasterId.reset();
}

void PresentationBuilder::BeginMaster(const RecordHeader& master) {
  reading = Reading::kMaster;
  presentation.masters.emplace_back();
  PageParts parts = ReadPageParts(image, master, *budget);
  if (nextMasterId && parts.headersFooters) {
    std::vector<HeaderText> headers;
    AppendHeaderTexts(image, *parts.headersFooters, "slide", *budget,
                      headers);
    masterHeaders.emplace(*nextMasterId, std::move(headers));
  }
  // A title master's own master comes next.
  nextMasterId = MasterIdOf(image, parts);
}

void PresentationBuilder::BeginNotes(const RecordHeader& notes) {
  reading = Reading::kNotes;
  auto& headers = CurrentSlide().headers;
  PageParts parts = ReadPageParts(image, notes, *budget);
  if (parts.headersFooters)
    AppendHeaderTexts(image, *parts.headersFooters, "notes", *budget,
                      headers);
  else
    headers.insert(headers.end(), documentNotesHeaders.begin(),
                   documentNotesHeaders.end());
}

void PresentationBuilder::OnText(const RecordHeader& atom,
                                 const RecordHeader* shape) {
  ReadAtomUnits(image, atom, units);
  if (reading == Reading::kSlide && shape == nullptr)
    CloseShapeLink();  // the page's leftover texts
  const size_t begin = pageText.size();
  AppendParagraphs(pageText, units);
  if (reading != Reading::kSlide) return;
  Slide& slide = CurrentSlide();
  if (inTable) {
    // A border's text before the first cell opens one.
    auto& rows = slide.tables.back().rows;
    if (rows.empty()) rows.emplace_back(1);
    rows.back().back().append(pageText, begin);
  }
  if (shape != nullptr && !slide.title && IsTitleText(atom, *shape)) {
    std::string title = TrimmedText(units);
    if (!title.empty()) slide.title = std::move(title);
  }
  AddLinks(atom, shape, units, slide);
}

// A shape whose mouse click follows a hyperlink with a target: its link
// comes before those of its text's runs, and takes the shape's text once
// it is read.
void PresentationBuilder::OnShape(const RecordHeader& shape) {
  CloseShapeLink();
  if (reading != Reading::kSlide || targets.empty()) return;
  auto target = ReadShapeLinkTarget(image, shape, targets, *budget);
  if (!target || target->empty()) return;  // nowhere to go
  Slide& slide = CurrentSlide();
  openShapeLink =
      OpenShapeLink{slide.links.size(), slide.text.size() + pageText.size()};
  slide.links.push_back({"", std::move(*target)});
}

void PresentationBuilder::CloseShapeLink() {
  if (!openShapeLink) return;
  StoreText();  // the shape's text ends the slide's text
  Slide& slide = presentation.slides.back();
  std::string_view text(slide.text);
  text.remove_prefix(openShapeLink->textBegin);
  while (text.ends_with('\n')) text.remove_suffix(1);
  slide.links[openShapeLink->link].text = text;
  openShapeLink.reset();
}

void PresentationBuilder::OnTableBegin() {
  if (reading != Reading::kSlide) return;
  Slide& slide = CurrentSlide();
  slide.tables.push_back({slide.text.size() + pageText.size(), {}});
  inTable = true;
}

void PresentationBuilder::OnTableCell(bool newRow) {
  if (!inTable) return;
  auto& rows = presentation.slides.back().tables.back().rows;
  if (newRow || rows.empty()) rows.emplace_back();
  rows.back().emplace_back();
}

// A table without cells is no table to show.
void PresentationBuilder::OnTableEnd() {
  if (!inTable) return;
  auto& tables = presentation.slides.back().tables;
  if (tables.back().rows.empty()) tables.pop_back();
  inTable = false;
}

// A title: the text of a title placeholder, or a text whose header calls
// it a title.
bool PresentationBuilder::IsTitleText(const RecordHeader& atom,
                                      const RecordHeader& shape) {
  const ListText* listed = FindListText(atom);
  if (listed != nullptr && IsTitleTextType(listed->textType)) return true;
  bool title = false;
  ForEachChild(image, shape, [&](const RecordHeader& part) {
    if (!budget->Spend(kRecordHeaderSize)) return false;
    if (part.type != kOfficeArtClientData &&
        part.type != kOfficeArtClientTextbox)
      return true;
    ForEachChild(image, part, [&](const RecordHeader& record) {
      if (!budget->Spend(kRecordHeaderSize)) return false;
      if (record.type == kRtPlaceholderAtom &&
          record.BodyLength() > PlaceholderAtomLayout::kPlacementId)
        title = IsTitlePlacement(static_cast<uint8_t>(
            image[record.BodyStart() + PlaceholderAtomLayout::kPlacementId]));
      else if (record.type == kRtTextHeaderAtom && record.BodyLength() >= 4)
        title = IsTitleTextType(LoadU32(
            image, record.BodyStart() + TextHeaderAtomLayout::kTextType));
      return !title;
    });
    return !title;
  });
  return title;
}

// The hyperlinked ranges among the records after the atom: in the slide
// list, or in the shape's text box that holds it.
void PresentationBuilder::AddLinks(const RecordHeader& atom,
                                   const RecordHeader* shape,
                                   std::u16string_view text, Slide& slide) {
  if (targets.empty()) return;
  if (const ListText* listed = FindListText(atom)) {
    AppendRangeLinks(image, atom.End(), listed->listEnd, text, targets, *budget,
                     slide.links);
    return;
  }
  if (shape == nullptr) return;
  ForEachChild(image, *shape, [&](const RecordHeader& part) {
    if (!budget->Spend(kRecordHeaderSize)) return false;
    if (part.type != kOfficeArtClientTextbox || atom.offset < part.offset ||
        atom.End() > part.bodyEnd)
      return true;
    AppendRangeLinks(image, atom.End(), part.bodyEnd, text, targets, *budget,
                     slide.links);
    return false;
  });
}

// The text read since the last call goes to the page it was read on: the
// open master's, notes page's or slide's.
void PresentationBuilder::StoreText() {
  if (pageText.empty()) return;
  if (reading == Reading::kMaster && !presentation.masters.empty())
    presentation.masters.back() += pageText;
  else if (reading == Reading::kNotes)
    CurrentSlide().notes += pageText;
  else
    CurrentSlide().text += pageText;
  pageText.clear();
}

void PresentationBuilder::Finish() {
  CloseShapeLink();
  StoreText();
  CloseSlide();
  auto& slides = presentation.slides;
  // Slides follow the list's entries one by one (the fallback walk has no
  // list titles).
  for (size_t i = 0; i < slides.size() && i < listTitles.size(); ++i)
    if (!slides[i].title) slides[i].title = listTitles[i];
  size_t kept = 0;
  for (size_t i = 0; i < slides.size(); ++i) {
    if (pageless[i] && slides[i].text.empty() && slides[i].notes.empty())
      continue;
    if (kept != i) slides[kept] = std::move(slides[i]);
    slides[kept].number = static_cast<uint32_t>(kept + 1);
    ++kept;
  }
  slides.resize(kept);
  std::erase_if(presentation.masters,
                [](const std::string& text) { return text.empty(); });
}

}  // namespace txtppt2
