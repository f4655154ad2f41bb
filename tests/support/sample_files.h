// Sample inputs made with the fixture writers: sound presentations and a
// table of hostile files, each named for what it breaks. The lifetime,
// stress and fuzz replay tests run them all; the fuzzers start from them.
#ifndef TXTPPT2_TESTS_SUPPORT_SAMPLE_FILES_H_
#define TXTPPT2_TESTS_SUPPORT_SAMPLE_FILES_H_

#include <string>
#include <vector>

namespace txtppt2::testing {

struct SampleFile {
  std::string name;   // what the file is or what its damage breaks
  std::string bytes;  // the whole file
};

// A "PowerPoint Document" record stream with the given number of slides,
// each with a title in UTF-16, a body in 8-bit text and a shape's text.
std::string PresentationRecords(int slides);

// Compound files that convert: both versions, mini stream and regular
// sectors, other streams and storages beside the document, names in other
// case, an empty document.
std::vector<SampleFile> SoundPresentations();

// Inputs that fail to open, lack the document stream, or carry damage in
// the header, the tables, the directory, the chains or the records.
std::vector<SampleFile> DamagedFiles();

// Both tables, sound files first.
std::vector<SampleFile> AllSampleFiles();

}  // namespace txtppt2::testing

#endif  // TXTPPT2_TESTS_SUPPORT_SAMPLE_FILES_H_
