#pragma once
// Record edits for the mooring editor tests: words set to integers or reals
// before a routine runs, and the value a word should hold after it.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "sysutl/record.hpp"

namespace kelp::testing {

// An integer or a real word value.
using WordValue = std::variant<std::int32_t, float>;

// Record edits: word := integer or real.
struct Edit {
  std::size_t word;
  WordValue value;
};
using Edits = std::vector<Edit>;

inline Edits operator+(Edits a, const Edits& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline void edit_record(Tpcm& t, const Edits& edits) {
  for (const Edit& e : edits) {
    if (const auto* i = std::get_if<std::int32_t>(&e.value)) t.i(e.word) = *i;
    else t.set_r(e.word, std::get<float>(e.value));
  }
}

// Success when the word holds the value, read as its kind.
inline ::testing::AssertionResult word_holds(const Tpcm& t, std::size_t word, const WordValue& value) {
  if (const auto* i = std::get_if<std::int32_t>(&value)) {
    if (t.i(word) == *i) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "word " << word << " holds " << t.i(word) << ", not " << *i;
  }
  const float r = std::get<float>(value);
  if (t.r(word) == r) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "word " << word << " holds " << t.r(word) << ", not " << r;
}

}  // namespace kelp::testing
