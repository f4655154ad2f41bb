// The document's properties from its two property set streams: title,
// author and dates from "\005SummaryInformation"; company, category,
// manager, the slide counts and the user-defined properties from
// "\005DocumentSummaryInformation".
//
// An empty text is an absent one; a property of an unexpected type is
// absent too (the dates come from FILETIME values only). User-defined properties are those the second section's
// dictionary names, in the order of its table.
#ifndef TXTPPT2_PROPERTIES_DOCUMENT_PROPERTIES_READER_H_
#define TXTPPT2_PROPERTIES_DOCUMENT_PROPERTIES_READER_H_

#include <string_view>

#include "model/presentation.h"

namespace txtppt2 {

// Each fills what its stream holds into properties; a stream that is no
// property set leaves it alone.
void ReadSummaryInformation(std::string_view stream,
                            DocumentProperties& properties);
void ReadDocumentSummaryInformation(std::string_view stream,
                                    DocumentProperties& properties);

}  // namespace txtppt2

#endif  // TXTPPT2_PROPERTIES_DOCUMENT_PROPERTIES_READER_H_
