// TextAtomVisitor: what the complete walks hand their text to, one text
// atom (RT_TextCharsAtom, RT_TextBytesAtom or RT_CString) at a time, in the
// order the text is read. The walks have spent the budget for the atom's
// body before they call; the visitor decides what becomes of it. The
// drawing walk also says which shape the texts that follow come from, and
// where a table's cells begin; a visitor that wants only the text leaves
// those calls as they are.
#ifndef TXTPPT2_EXTRACT_TEXT_ATOM_VISITOR_H_
#define TXTPPT2_EXTRACT_TEXT_ATOM_VISITOR_H_

#include "extract/record_types.h"
#include "extract/record_view.h"

namespace txtppt2 {

inline bool IsTextAtom(uint16_t type) {
  return type == kRtTextCharsAtom || type == kRtTextBytesAtom ||
         type == kRtCString;
}

class TextAtomVisitor {
 public:
  virtual ~TextAtomVisitor() = default;

  // atom: a text atom of the image. shape: the OfficeArtSpContainer that
  // shows it, or null for text no shape shows (a slide list's leftover
  // text, or any text of the fallback walk).
  virtual void OnText(const RecordHeader& atom, const RecordHeader* shape) = 0;

  // Each shape of a page's drawing that the walk reads, before its texts
  // (if it has any): the texts that follow with this shape are its own.
  virtual void OnShape(const RecordHeader& /*shape*/) {}

  // A table: OnTableBegin, then for each of its cells, row by row,
  // OnTableCell (newRow for the first cell of a row) before the cell's
  // OnShape, then OnTableEnd. Its borders are shapes among its cells,
  // with no OnTableCell of their own. Tables do not nest: a table's cells
  // are plain shapes.
  virtual void OnTableBegin() {}
  virtual void OnTableCell(bool /*newRow*/) {}
  virtual void OnTableEnd() {}
};

}  // namespace txtppt2

#endif  // TXTPPT2_EXTRACT_TEXT_ATOM_VISITOR_H_
