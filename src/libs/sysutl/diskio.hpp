#pragma once
// Whole-record data-file input and output, and the word helpers that copy,
// exchange and compare blocks of a record.
//
// A data file ("RONDDAT", "PIVADAT", their backups, "LOWDAT") is one
// unformatted sequential big-endian record: a 4-byte length marker L = 4N,
// the N words, and the marker again. The data file's word 0 holds N; "LOWDAT"
// has no count word and is exactly 680 words (marker 2,720), or those 680
// words bare, without markers (2,720 bytes).
#include <complex>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sysutl/file_system.hpp"

namespace kelp {

class Session;

// The largest record the reader stages (words); longer records are cut here.
inline constexpr std::size_t kDiskioStagingWords = 126831;
// Its bytes, markers included: no file larger than this holds a record the
// reader takes, and none is read past it.
inline constexpr std::size_t kLargestRecordBytes = 4 * (kDiskioStagingWords + 2);

// Words of "LOWDAT" and its record marker.
inline constexpr int kLowdatWords = 680;
inline constexpr std::int32_t kLowdatMarker = 4 * kLowdatWords;
// Bytes of "LOWDAT" as one record, markers included, and as its words bare:
// a file of exactly kBareLowdatBytes is always read as the bare words.
inline constexpr std::size_t kLowdatRecordBytes = 4 * (kLowdatWords + 2);
inline constexpr std::size_t kBareLowdatBytes = 4 * kLowdatWords;

// Status bits of diskio (a sum; 0 means success).
inline constexpr int kDiskioNotFound = 1;     // not opened as an existing file
inline constexpr int kDiskioWriteFailed = 2;  // record not written / file not created
inline constexpr int kDiskioReadFailed = 4;   // read failed, short, damaged, or a count that differs

inline constexpr int kDiskioWrite = 0;
inline constexpr int kDiskioRead = 1;

// Reads or writes one whole record.
//
// mode 0 (write): array[0..nwords) becomes the file's only record; nwords is
//   not changed. The record replaces the file through replace_file
//   (sysutl/file_replace.hpp), so a failure leaves the old file as it was and
//   only a regular file (or no file) of that name is ever replaced. status 0
//   on success; on failure 2 (plus 1 when no file of that name existed
//   before). nwords below 1, beyond the array or beyond the largest record
//   the reader takes writes nothing and reports 2.
//
// mode 1 (read): a file that cannot be opened, or that is not a regular file
//   (a directory, FIFO or device of that name), gives status 1 and leaves
//   nwords and array unchanged. Otherwise the file is taken as one record
//   when its markers agree with its count word ("LOWDAT*": leading marker
//   2,720), else as bare words from its first byte. A "LOWDAT*" of exactly
//   2,720 bytes is always 680 bare words, whatever its first word (the
//   record of 680 words takes 2,728). N is the number of whole words of the
//   record present in the file: the count word's N for a complete
//   record, for a record cut short the words that still leave room for its
//   trailing marker (a file one byte short holds N - 1), for bare words the
//   file's length in whole words. array receives min(nwords, N,
//   array.size(), 126,831) words; the rest of array is left as it was (for
//   "LOWDAT*" names the rest of the first 680 words is set to zero). nwords
//   := N. status 0 when the record was read whole and N equals the nwords
//   asked for; otherwise 4 (count differs, record cut short or longer than
//   the reader stages, markers that disagree, a header that cannot be read).
//   No more of the file is read than kLargestRecordBytes: the size of a
//   larger file is taken from its end.
//
//   The N handed back is the count FOUND in the file, not the record size of
//   the program kind: a caller keeps its own expected size and writes the
//   record back with that size, never with the found count (a short or
//   damaged file would otherwise become a short data file).
//
// The name test for "LOWDAT" looks at the first six characters of `name` as
// given. `unit` and `oscode` are carried for the callers' sake: every file
// goes through the session's file layer, and every operating system reads by
// the same path.
void diskio(Session& s, int mode, int& nwords, const std::string& name, int unit, int& status,
            std::span<std::int32_t> array, int oscode);
// diskio's read (mode 1) of the file that a walk made before found for
// `name` (none when it was refused); the status it returns.
int diskio_read_at(Session& s, int& nwords, const Resolution& name, std::span<std::int32_t> array);

// The frame of the record a file holds, for a loader that must say what is
// wrong with a file diskio could not read whole: the file's length, its
// leading marker, and the four bytes where the trailing marker of the
// record that marker announces stands (absent when the file ends before).
struct RecordFrame {
  bool readable = false;  // the file could be opened as a regular file
  std::size_t bytes = 0;
  std::optional<std::int32_t> leading;
  std::optional<std::int32_t> trailing;
};
RecordFrame record_frame(Session& s, const std::string& name);

// The bytes diskio writes for a record of these words (markers included).
std::string encode_record(std::span<const std::int32_t> words);

// Copies n words from src to dst (overlapping blocks are copied as if through
// a temporary). n is limited to the shorter array; n <= 0 copies nothing.
void movcom(int n, std::span<const std::int32_t> src, std::span<std::int32_t> dst);
// The same for reals (bit for bit) and for double-precision values.
void movrel(int n, std::span<const float> src, std::span<float> dst);
void movdp(int n, std::span<const double> src, std::span<double> dst);

// Copies one word unchanged: a real carried as its raw bits.
void vrcvrt(std::int32_t src, std::int32_t& dst);

// Exchanges a[0..n) and b[0..n) element by element (n limited as movcom).
void swpcom(int n, std::span<std::int32_t> a, std::span<std::int32_t> b);

// Exchange two 4-byte values, two 8-byte values, two complex values.
void swpval(std::int32_t& a, std::int32_t& b);
void swpval(float& a, float& b);
void dswpval(double& a, double& b);
void cswpval(std::complex<float>& a, std::complex<float>& b);

// same := 1 when a[0..n) and b[0..n) are equal bit for bit (compared as
// integers, so -0.0 differs from 0.0 and NaN payloads count), else 0. n is
// limited to the shorter array; n <= 0 gives 1.
void nochng(int& same, std::span<const std::int32_t> a, std::span<const std::int32_t> b, int n);

}  // namespace kelp
