#pragma once
// The ship editor (kind 1): its page loop over 17 slots, its defaults and the
// ship final page shpfin.
#include <span>

#include "others/editor_loop.hpp"

namespace kelp {

class Session;

inline constexpr int kShipKind = 1;
inline constexpr int kShipSlots = 17;

// The loop of the editor (record of 1,987 words, the routing of
// vessel_editor_routes, the ship defaults).
const EditorLoop& ship_loop();

// Runs the editor over its own pages, or over the given ones (tests).
void shiped(Session& s);
void shiped(Session& s, std::span<const EditorPage> pages);

}  // namespace kelp
