#include "extract/complete_text_extractor.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "extract/complete_walk.h"
#include "extract/drawing_text_walk.h"
#include "extract/record_types.h"
#include "extract/text_sink.h"

namespace txtppt2 {

namespace {

// Writes what the walks hand on: each page's text in turn, a separator
// before each slide after the first.
template <typename Out>
class CompleteTextWriter final : public CompleteWalkVisitor {
 public:
  explicit CompleteTextWriter(Out& out_) : out(out_) {}

  void OnStart(std::string_view image_, const LiveDocument*,
               WorkBudget& budget_) override {
    image = image_;
    budget = &budget_;
  }

  void OnPage(const PageVisit& page) override {
    if (page.role == PageRole::kSlide) StartSlide(page.slideIndex);
    WalkPageText(image, page, *budget, *this);
  }

  void OnSlide(const RecordHeader&, size_t slideIndex) override {
    StartSlide(slideIndex);
  }

  void OnText(const RecordHeader& atom, const RecordHeader*) override {
    const char* body = image.data() + atom.BodyStart();
    if (atom.type == kRtTextBytesAtom) {
      AppendAnsiText(out, body, atom.BodyLength());
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
    AppendUtf16Text(out, body, atom.BodyLength());
  }

 private:
  void StartSlide(size_t slideIndex) {
    if (slideIndex != 0) AppendSeparator(out);
  }

  std::string_view image;
  WorkBudget* budget = nullptr;  // the walk's, from OnStart
  Out& out;
  std::vector<WCHAR> aligned;  // UTF-16 text moved to an even address
};

}  // namespace

CompleteTextExtractor::CompleteTextExtractor(RecordStreamReader& document_,
                                             RecordStreamReader* currentUser_,
                                             uint32_t sizeLimit_)
    : document(document_), currentUser(currentUser_), sizeLimit(sizeLimit_) {}

void CompleteTextExtractor::Extract(NarrowOutputStream& out) { Run(out); }

void CompleteTextExtractor::Extract(WideOutputStream& out) { Run(out); }

template <typename Out>
void CompleteTextExtractor::Run(Out& out) {
  CompleteTextWriter<Out> writer(out);
  RunCompleteWalk(document, currentUser, sizeLimit, BrokenChain::kGiveUp,
                  writer);
}

}  // namespace txtppt2
