#pragma once
// Words of tpcm that the kit reads itself: the output unit and the sea state
// of the spectral library. The kit sits below the record's word map
// (edlib/record/data_record.hpp), which includes this header, so every word
// keeps one name. Lists are named by their first entry.
#include "sysutl/record.hpp"

namespace kelp {

inline constexpr IntWord kOutputUnit{702};         // 6 screen, 41 silent report, 1 listing
inline constexpr IntWord kOchiCount{191};          // Ochi-Hubble components
inline constexpr RealWord kLegacyDensities{217};   // legacy spectral density of period i at 216 + i
inline constexpr RealWord kSeaHeights{429};        // significant height of irregular case j at 428 + j
inline constexpr RealWord kSeaPeriods{435};        // peak period of case j at 434 + j
inline constexpr RealWord kOchiShapes{441};        // shape (lambda) of Ochi-Hubble component j at 440 + j
inline constexpr RealWord kWaterDepth{445};

}  // namespace kelp
