// PropertySetExtent: how much of a property set stream the property reader
// needs, told from the stream's first bytes, so that a reader can leave a
// large value no property is decoded from (the thumbnail a
// SummaryInformation stream often carries) unread.
//
// Each value runs from its offset to the next larger offset in its
// section's table, or to the section's end. A value whose type the reader
// decodes (or whose type lies past the window) needs its run; any other
// value needs only its type. The dictionary always needs its run.
//
// Hostile input: the work is linear in the window's table entries; where
// the window does not hold the headers, the tables or a type needed to
// tell, the answer is the whole stream.
#ifndef TXTPPT2_PROPERTIES_PROPERTY_SET_EXTENT_H_
#define TXTPPT2_PROPERTIES_PROPERTY_SET_EXTENT_H_

#include <cstdint>
#include <string_view>

namespace txtppt2 {

// The byte count from the stream's start, at most streamSize, that gives
// ReadPropertySet the same properties as the stream's first streamSize
// bytes. window is the stream's first bytes (at most streamSize of them).
uint64_t PropertySetExtent(std::string_view window, uint64_t streamSize);

}  // namespace txtppt2

#endif  // TXTPPT2_PROPERTIES_PROPERTY_SET_EXTENT_H_
