// PageWalkListener: what the complete text's walk tells an observer besides
// the text it writes, so that the slide records and the complete text come
// from one walk. The calls follow the text exactly: a slide begins where
// the text's separator stands (and with the first slide), each text atom
// written is reported once, in the order written, and masters and notes
// pages begin where their text does.
//
// Records are handed over as headers into the stream image given to
// OnDocument; they stay valid for the walk. A listener must not throw but
// for an exhausted allocation.
#ifndef TXTPPT2_EXTRACT_PAGE_WALK_LISTENER_H_
#define TXTPPT2_EXTRACT_PAGE_WALK_LISTENER_H_

#include <optional>
#include <string_view>

#include "extract/record_view.h"

namespace txtppt2 {

class PageWalkListener {
 public:
  virtual ~PageWalkListener() = default;

  // The stream image, first of all; with the live document's container
  // where the persist directory leads to it (the fallback walk has none).
  virtual void OnDocument(std::string_view image,
                          const std::optional<RecordHeader>& document) = 0;
  // A slide begins: its container where there is one. The fallback walk
  // reports each slide container it meets, but writes text of the slide
  // lists before the first: that text belongs to the first slide.
  virtual void OnSlide(const std::optional<RecordHeader>& slide) = 0;
  // The texts that follow, up to the next call, are a master's (the first
  // time a slide uses it), or the current slide's notes page's.
  virtual void OnMaster(const RecordHeader& master) = 0;
  virtual void OnNotes(const RecordHeader& notes) = 0;
  // A text atom written: shape is the shape that shows it, or null for a
  // slide-list text no shape showed (and for the fallback walk's texts).
  virtual void OnText(const RecordHeader& atom, const RecordHeader* shape) = 0;
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_PAGE_WALK_LISTENER_H_
