#include "model/presentation_builder.h"

#include "extract/record_types.h"
#include "model/model_record_types.h"
#include "model/model_text.h"

namespace txtppt2 {

using namespace model_records;

namespace {

// The builder's own reads may visit this multiple of the stream's size.
constexpr uint64_t kBudgetFactor = 4;
constexpr uint64_t kBudgetFloor = 64 * 1024;

bool IsTextAtom(uint16_t type) {
  return type == RT_TextCharsAtom || type == RT_TextBytesAtom ||
         type == RT_CString;
}

bool IsTitleTextType(uint32_t type) {
  return type == kTitleTextType || type == kCenteredTitleTextType;
}

bool IsTitlePlaceholder(uint8_t type) {
  return type == kTitlePlaceholder || type == kCenteredTitlePlaceholder ||
         type == kVerticalTitlePlaceholder;
}

}  // namespace

PresentationBuilder::PresentationBuilder(Presentation& presentation_)
    : presentation(presentation_) {}

void PresentationBuilder::OnDocument(
    std::string_view image_, const std::optional<RecordHeader>& document) {
  image = image_;
  budget = ReadBudget(kBudgetFactor * image.size() + kBudgetFloor);
  if (!document) return;
  targets = ReadHyperlinkTargets(image, *document, budget);
  if (auto slideHeaders = FindHeadersFooters(
          image, *document, kSlideHeadersFootersInstance, budget))
    AppendHeaderTexts(image, *slideHeaders, "slide", budget,
                      documentSlideHeaders);
  if (auto notesHeaders = FindHeadersFooters(
          image, *document, kNotesHeadersFootersInstance, budget))
    AppendHeaderTexts(image, *notesHeaders, "notes", budget,
                      documentNotesHeaders);
  // The walk reads the first list of slides; so does the index.
  ForEachChild(image, *document, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (child.type != RT_SlideListWithText ||
        child.instance != kSlideListInstanceSlides)
      return true;
    IndexSlideList(child);
    return false;
  });
}

// Each entry's texts by the atom's offset with the type of the text header
// before it, and each entry's first title text.
void PresentationBuilder::IndexSlideList(const RecordHeader& list) {
  std::optional<uint32_t> textType;
  ForEachChild(image, list, [&](const RecordHeader& child) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (child.type == RT_SlidePersistAtom) {
      listTitles.emplace_back();
      textType.reset();
    } else if (child.type == RT_TextHeaderAtom) {
      textType = child.BodyLength() >= 4
                     ? std::optional(LoadU32(image, child.BodyStart()))
                     : std::nullopt;
    } else if (IsTextAtom(child.type) && textType && !listTitles.empty()) {
      listTexts.emplace(child.offset, ListText{*textType, list.bodyEnd});
      if (IsTitleTextType(*textType) && !listTitles.back() &&
          budget.Spend(child.BodyLength())) {
        std::string title = TrimmedText(AtomUnits(image, child));
        if (!title.empty()) listTitles.back() = std::move(title);
      }
    }
    return true;
  });
}

Slide& PresentationBuilder::CurrentSlide() {
  if (presentation.slides.empty()) {
    presentation.slides.emplace_back();
    pageless.push_back(false);
  }
  return presentation.slides.back();
}

void PresentationBuilder::OnSlide(const std::optional<RecordHeader>& slide) {
  // Text written before the first slide (the fallback walk's slide lists)
  // opened a slide already: this slide is that one.
  if (!presentation.slides.empty() && !slideAnnounced) {
    slideAnnounced = true;
  } else {
    CloseSlide();
    presentation.slides.emplace_back();
    pageless.push_back(false);
  }
  pageless.back() = !slide;
  slideAnnounced = true;
  current = Page::kSlide;
  slideOwnHeaders.reset();
  slideMasterId.reset();
  nextMasterId.reset();
  if (!slide) return;
  Slide& opened = presentation.slides.back();
  PageParts parts = ReadPageParts(image, *slide, budget);
  opened.hidden = IsSlideHidden(image, parts);
  opened.comments = ReadComments(image, parts, budget);
  if (parts.headersFooters) {
    slideOwnHeaders.emplace();
    AppendHeaderTexts(image, *parts.headersFooters, "slide", budget,
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

void PresentationBuilder::OnMaster(const RecordHeader& master) {
  current = Page::kMaster;
  presentation.masters.emplace_back();
  PageParts parts = ReadPageParts(image, master, budget);
  if (nextMasterId && parts.headersFooters) {
    std::vector<HeaderText> headers;
    AppendHeaderTexts(image, *parts.headersFooters, "slide", budget, headers);
    masterHeaders.emplace(*nextMasterId, std::move(headers));
  }
  // A title master's own master comes next.
  nextMasterId = MasterIdOf(image, parts);
}

void PresentationBuilder::OnNotes(const RecordHeader& notes) {
  current = Page::kNotes;
  auto& headers = CurrentSlide().headers;
  PageParts parts = ReadPageParts(image, notes, budget);
  if (parts.headersFooters)
    AppendHeaderTexts(image, *parts.headersFooters, "notes", budget, headers);
  else
    headers.insert(headers.end(), documentNotesHeaders.begin(),
                   documentNotesHeaders.end());
}

void PresentationBuilder::OnText(const RecordHeader& atom,
                                 const RecordHeader* shape) {
  ReadAtomUnits(image, atom, units);
  if (current == Page::kMaster && !presentation.masters.empty()) {
    AppendParagraphs(presentation.masters.back(), units);
    return;
  }
  Slide& slide = CurrentSlide();
  if (current == Page::kNotes) {
    AppendParagraphs(slide.notes, units);
    return;
  }
  AppendParagraphs(slide.text, units);
  if (shape != nullptr && !slide.title && IsTitleText(atom, *shape)) {
    std::string title = TrimmedText(units);
    if (!title.empty()) slide.title = std::move(title);
  }
  AddLinks(atom, shape, units, slide);
}

// A title: the text of a title placeholder, or a text whose header calls
// it a title.
bool PresentationBuilder::IsTitleText(const RecordHeader& atom,
                                      const RecordHeader& shape) {
  auto listed = listTexts.find(atom.offset);
  if (listed != listTexts.end() && IsTitleTextType(listed->second.textType))
    return true;
  bool title = false;
  ForEachChild(image, shape, [&](const RecordHeader& part) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (part.type != kOfficeArtClientData &&
        part.type != kOfficeArtClientTextbox)
      return true;
    ForEachChild(image, part, [&](const RecordHeader& record) {
      if (!budget.Spend(kRecordHeaderSize)) return false;
      if (record.type == RT_PlaceholderAtom &&
          record.BodyLength() > kPlaceholderTypeField)
        title = IsTitlePlaceholder(static_cast<uint8_t>(
            image[record.BodyStart() + kPlaceholderTypeField]));
      else if (record.type == RT_TextHeaderAtom && record.BodyLength() >= 4)
        title = IsTitleTextType(LoadU32(image, record.BodyStart()));
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
  auto listed = listTexts.find(atom.offset);
  if (listed != listTexts.end()) {
    AppendRangeLinks(image, atom.End(), listed->second.listEnd, text,
                     targets, budget, slide.links);
    return;
  }
  if (shape == nullptr) return;
  ForEachChild(image, *shape, [&](const RecordHeader& part) {
    if (!budget.Spend(kRecordHeaderSize)) return false;
    if (part.type != kOfficeArtClientTextbox || atom.offset < part.offset ||
        atom.End() > part.bodyEnd)
      return true;
    AppendRangeLinks(image, atom.End(), part.bodyEnd, text, targets, budget,
                     slide.links);
    return false;
  });
}

void PresentationBuilder::Finish() {
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
  auto& masters = presentation.masters;
  std::erase_if(masters, [](const std::string& text) { return text.empty(); });
}

}  // namespace txtppt2
