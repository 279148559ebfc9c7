#pragma once
// The semisubmersible editor (kind 3): its page loop over 17 slots, its
// defaults and its final page.
#include <span>
#include <string_view>

#include "others/editor_loop.hpp"

namespace kelp {

class Session;

inline constexpr int kSemiKind = 3;
inline constexpr int kSemiSlots = 17;

// The loop of the editor (record of 4,975 words, the routing of
// vessel_editor_routes, the semisubmersible defaults).
const EditorLoop& semi_loop();

// Runs the editor over its own pages, or over the given ones (tests).
void semied(Session& s);
void semied(Session& s, std::span<const EditorPage> pages);

// The final page "11": the shared final page with the listing
// "DUVAIN.stxt", the editor name "DUVWORTH" and the vessel checks; its print
// pass flag and saved unit are its own.
void semfin(Session& s, std::string_view label);

}  // namespace kelp
