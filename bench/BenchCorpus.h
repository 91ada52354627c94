// The benchmark corpus: about 120 MB in about 400 files, the same bytes for
// the same seed: text, executables with version resources, compressed data,
// one 30 MB file, tiny and empty files.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Writes the corpus into folder (created when missing); returns its size.
uint64_t MakeCorpus(const std::string& folder, uint64_t seed);

} // namespace bench
