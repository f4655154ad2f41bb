#include "extract/complete_text_extractor.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "extract/drawing_text_walk.h"
#include "extract/fallback_walk.h"
#include "extract/page_order.h"
#include "extract/persist_directory.h"
#include "extract/record_types.h"
#include "extract/stream_image.h"
#include "extract/text_sink.h"
#include "extract/work_budget.h"

namespace txtppt2 {

namespace {

// The "Current User" stream holds one small atom and a user name.
constexpr uint32_t kCurrentUserLimit = 64 * 1024;

// Writes what the walks hand on: each page's text in turn, a separator
// before each slide after the first.
template <typename Out>
class CompleteTextWriter final : public PageVisitor, public FallbackVisitor {
 public:
  CompleteTextWriter(std::string_view image_, WorkBudget& budget_, Out& out_)
      : image(image_), budget(budget_), out(out_) {}

  void OnPage(const PageVisit& page) override {
    if (page.role == PageRole::kSlide) OnSlide(page.slideIndex);
    WalkPageText(image, page, budget, *this);
  }

  void OnSlide(size_t slideIndex) override {
    if (slideIndex != 0) AppendSeparator(out);
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
  std::string_view image;
  WorkBudget& budget;
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
  StreamImage image(document, sizeLimit);
  std::optional<StreamImage> user;
  if (currentUser != nullptr) {
    try {
      user.emplace(*currentUser, kCurrentUserLimit);
    } catch (const std::runtime_error&) {
      user.reset();  // an unreadable "Current User" is a missing one
    }
  }
  WorkBudget budget(image.Bytes().size());
  CompleteTextWriter<Out> writer(image.Bytes(), budget, out);
  if (auto live = FindLiveDocument(image.Bytes(),
                                   user ? user->Bytes() : std::string_view()))
    WalkLivePages(image.Bytes(), *live, budget, writer);
  else
    WalkAllRecords(image.Bytes(), budget, writer);
}

}  // namespace txtppt2
