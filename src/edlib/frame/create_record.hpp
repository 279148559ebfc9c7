#pragma once
// A fresh data record (main-menu choice "C") and the defaults of the mooring
// region of the moored kinds.
#include <cstdint>

namespace kelp {

class Session;

// Selector words hold one 4-bit source code per axis: these values select the
// same source on all three axes.
inline constexpr std::int32_t kSourceAll1 = 0x111;
inline constexpr std::int32_t kSourceAll2 = 0x222;
inline constexpr std::int32_t kSourceAll3 = 0x333;
inline constexpr std::int32_t kSourceAll4 = 0x444;

// Builds a new record of nwords words (the record size of the program kind,
// limited to tpcm) for program kind `kind`: everything zero, then the
// defaults of a new file. The identity stamp is the loader's business.
void create_record(Session& s, int kind, int nwords);

// Defaults of the mooring region for program kind `kind`: counts, segments per
// line and the sub-editor kind always; the per-line tables only when choice
// is 'C' (a new record).
void mrinit(Session& s, char choice, int kind);

}  // namespace kelp
