// Writes compressed dictionary data files (the reader is engine/data_file.h).
//
// Each text is cut into pieces of at most 262144 bytes, each piece becomes
// one NRV2E chunk (8-bit bit buffer), and the file ends with the 16-byte
// trailer. The writer is a tool beside the program; tests build their
// fixture files with it.
#pragma once

#include <string>
#include <string_view>

namespace tavro2 {

// Day number of a calendar date as DataDate counts it (1 = 1 January of
// year 1, proleptic Gregorian).
double dataDateOf(int year, int month, int day);

// One compressed block: TextSize, then the chunks. `level` is the NRV2E
// level (1..10); 10 compresses best, lower levels compress faster and decode
// just as fast.
std::string compressBlock(std::string_view text, int level = 10);

// A whole data file image: block 1, block 2, trailer.
std::string buildDataFile(std::string_view headwords, std::string_view translations,
                          double dataDate, int level = 10);

// Writes buildDataFile's image to `path` with writeFileAtomically. Returns
// false (leaving any old file whole) when it cannot.
bool writeDataFile(const std::string& path, std::string_view headwords,
                   std::string_view translations, double dataDate, int level = 10);

}  // namespace tavro2
