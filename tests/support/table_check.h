// Whether a slide's tables stand in its text as the model promises: each
// table's cells' texts, row by row, are the slide's text from the table's
// offset on; tables in order, apart; no table or row without cells; each
// cell's text whole paragraphs (empty, or ending with LF), so that a
// renderer can tell the cells' lines from the paragraphs around them.
#ifndef TXTPPT2_TESTS_SUPPORT_TABLE_CHECK_H_
#define TXTPPT2_TESTS_SUPPORT_TABLE_CHECK_H_

#include <string>

#include "model/presentation.h"

namespace txtppt2::testing {

inline bool TablesFollowText(const Slide& slide) {
  size_t end = 0;
  for (const Table& table : slide.tables) {
    if (table.textOffset < end || table.rows.empty()) return false;
    end = table.textOffset;
    for (const auto& row : table.rows) {
      if (row.empty()) return false;
      for (const std::string& cell : row) {
        if (end > slide.text.size() ||
            slide.text.compare(end, cell.size(), cell) != 0 ||
            (!cell.empty() && cell.back() != '\n'))
          return false;
        end += cell.size();
      }
    }
  }
  return true;
}

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_TABLE_CHECK_H_
