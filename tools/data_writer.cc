#include "tools/data_writer.h"

#include <ucl/ucl.h>

#include <cstring>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "app/atomic_file.h"

namespace tavro2 {
namespace {

constexpr std::size_t kPiece = 262144;

void putU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void initUcl() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (ucl_init() != UCL_E_OK) throw std::runtime_error("ucl_init failed");
  });
}

// Days from 1 January of year 1 to the given date, that date counting 1.
long daysFromCivil(int y, int m, int d) {
  // Howard Hinnant's days_from_civil, shifted from 1970-01-01 to 0001-01-01.
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;  // days since 1970-01-01
}

}  // namespace

double dataDateOf(int year, int month, int day) {
  return static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1, 1, 1) + 1);
}

std::string compressBlock(std::string_view text, int level) {
  initUcl();
  std::string out;
  putU32(out, static_cast<std::uint32_t>(text.size()));
  std::vector<unsigned char> buf(kPiece + kPiece / 8 + 256);
  for (std::size_t pos = 0; pos < text.size(); pos += kPiece) {
    const std::size_t len = std::min(kPiece, text.size() - pos);
    ucl_uint outLen = static_cast<ucl_uint>(buf.size());
    const int r = ucl_nrv2e_99_compress(reinterpret_cast<const unsigned char*>(text.data() + pos),
                                        static_cast<ucl_uint>(len), buf.data(), &outLen, nullptr,
                                        level, nullptr, nullptr);
    if (r != UCL_E_OK) throw std::runtime_error("NRV2E compression failed");
    putU32(out, static_cast<std::uint32_t>(outLen));
    out.append(reinterpret_cast<const char*>(buf.data()), outLen);
  }
  return out;
}

std::string buildDataFile(std::string_view headwords, std::string_view translations,
                          double dataDate, int level) {
  std::string first = compressBlock(headwords, level);
  std::string second = compressBlock(translations, level);
  std::string file = first + second;
  putU32(file, static_cast<std::uint32_t>(first.size()));
  putU32(file, static_cast<std::uint32_t>(second.size()));
  char date[8];
  static_assert(sizeof(double) == 8);
  std::memcpy(date, &dataDate, 8);  // little-endian host, as the format is
  file.append(date, 8);
  return file;
}

bool writeDataFile(const std::string& path, std::string_view headwords,
                   std::string_view translations, double dataDate, int level) {
  return writeFileAtomically(path, buildDataFile(headwords, translations, dataDate, level));
}

}  // namespace tavro2
