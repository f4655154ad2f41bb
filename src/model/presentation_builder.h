// PresentationBuilder: the slide model, built by visiting the complete
// walk (extract/complete_walk.h), so that the model's text and the complete
// text are the same walk's: it reads each page's text as the complete text
// does, in the same order, and sorts it into slides.
//
// Per slide: its text and its notes page's text (LF line ends, see
// model/model_text.h); the title from the first title placeholder's text,
// else from the slide list's title text for the slide; the hyperlinked
// ranges of its texts with the targets of the document's hyperlink list;
// the hyperlinks of its shapes' mouse clicks, with the shape's text; the
// tables among its shapes, cell by cell (model/presentation.h, Table);
// the comments and hidden flag of its container; the headers and footers
// of its own, its master's or the document's headers-and-footers records,
// and those of its notes page. Each master's text, the first time a slide
// uses it, goes to `masters`.
//
// Bounds: the walk's budget bounds the text; the builder's own reads (the
// slide list's index, hyperlinks, comments, headers) spend a second budget
// of the same size, so that they never cut the walk's text short, and
// nothing recurses.
#ifndef TXTPPT2_MODEL_PRESENTATION_BUILDER_H_
#define TXTPPT2_MODEL_PRESENTATION_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "extract/complete_walk.h"
#include "model/presentation.h"
#include "model/slide_records.h"

namespace txtppt2 {

class PresentationBuilder final : public CompleteWalkVisitor {
 public:
  // Slides and masters go to presentation, which must outlive the builder;
  // its properties are left alone.
  explicit PresentationBuilder(Presentation& presentation);

  void OnStart(std::string_view image, const LiveDocument* live,
               WorkBudget& walkBudget) override;
  void OnPage(const PageVisit& page) override;
  // The fallback walk's.
  void OnSlide(const RecordHeader& slide, size_t slideIndex) override;
  void OnText(const RecordHeader& atom, const RecordHeader* shape) override;
  void OnShape(const RecordHeader& shape) override;
  void OnTableBegin() override;
  void OnTableCell(bool newRow) override;
  void OnTableEnd() override;

  // Completes what only the whole walk tells: the last slide's headers,
  // titles from the slide list, numbers. Drops masters without text, and
  // slides the list names whose page is missing and that have no text
  // (nothing of them exists to show).
  void Finish();

  // Whether the walk read the live document through a mended chain of
  // edits (BrokenChain::kMend), where the complete text walks every record.
  bool ReadMendedChain() const { return mendedChain; }

 private:
  enum class Reading { kSlide, kMaster, kNotes };
  // A text atom of the slide list: where it starts, its text type, and
  // where its list ends.
  struct ListText {
    uint32_t offset;
    uint32_t textType;
    uint32_t listEnd;
  };

  void IndexSlideList(const RecordHeader& list);
  const ListText* FindListText(const RecordHeader& atom) const;
  void BeginSlide(const std::optional<RecordHeader>& slide);
  void ReadSlideParts(const RecordHeader& slide);
  void BeginMaster(const RecordHeader& master);
  void BeginNotes(const RecordHeader& notes);
  Slide& CurrentSlide();
  void CloseSlide();
  void StoreText();
  bool IsTitleText(const RecordHeader& atom, const RecordHeader& shape);
  void CloseShapeLink();
  void AddLinks(const RecordHeader& atom, const RecordHeader* shape,
                std::u16string_view text, Slide& slide);

  Presentation& presentation;
  std::string_view image;
  WorkBudget* walkBudget = nullptr;  // the walk's, for the pages' text
  std::optional<WorkBudget> budget;  // the builder's own reads'
  bool mendedChain = false;
  HyperlinkTargets targets;
  std::vector<ListText> listTexts;  // in the list's order: by offset
  std::vector<std::optional<std::string>> listTitles;  // per list entry
  std::vector<HeaderText> documentSlideHeaders, documentNotesHeaders;
  // The headers of masters that have their own, by the id pages refer to
  // them with.
  std::unordered_map<uint32_t, std::vector<HeaderText>> masterHeaders;

  Reading reading = Reading::kSlide;  // whose texts come now
  std::vector<bool> pageless;      // per slide: the list named a missing page
  // The open slide's own headers, or the id of its master.
  std::optional<std::vector<HeaderText>> slideOwnHeaders;
  std::optional<uint32_t> slideMasterId;
  // The id the master read next is known by.
  std::optional<uint32_t> nextMasterId;
  std::u16string units;  // the text being read, its room reused
  // The page's text so far, in UTF-8: collected here and stored on the page
  // once, so that each page's strings are allocated once, at their size;
  // its room is reused.
  std::string pageText;
  // Whether the walk is in a table of the slide's text (its last).
  bool inTable = false;
  // The link of the shape being read, whose text is the shape's: its index
  // in the slide's links and where the shape's text starts in the slide's.
  struct OpenShapeLink {
    size_t link;
    size_t textBegin;
  };
  std::optional<OpenShapeLink> openShapeLink;
};

}  // namespace txtppt2

#endif  // TXTPPT2_MODEL_PRESENTATION_BUILDER_H_
