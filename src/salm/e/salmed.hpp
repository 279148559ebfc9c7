#pragma once
// The single-anchor-leg editor (kind 11): its page loop over 20 slots, some
// shown only under conditions of the record, its defaults and its final page.
#include <span>

#include "others/editor_loop.hpp"

namespace kelp {

class Session;

inline constexpr int kSalmKind = 11;
inline constexpr int kSalmSlots = 20;

// The loop of the editor (record of 4,975 words).
const EditorLoop& salm_loop();

// Runs the editor over its own pages, or over the given ones (tests).
void salmed(Session& s);
void salmed(Session& s, std::span<const EditorPage> pages);

}  // namespace kelp
