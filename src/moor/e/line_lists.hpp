#pragma once
// Lists of mooring line numbers edited in the value-list editor (the lines
// selected for dynamic evaluation, for load reports, for exclusion): the
// numbers go to the editor as reals and come back truncated, and the editor
// is opened again until every entry names a line of the mooring.
#include <cstdint>
#include <span>
#include <string_view>

namespace kelp {

class Session;

// Edits the first `count` entries of `list` under `title`. The editor's
// whole-list operations reach the first `lines` entries, never past the end
// of `list`. While an entry is below 1 or above `lines`, the user is shown
// " >>> Please provide" with count and " valid line numbers...", waits for
// RETURN and edits again; the caller keeps count at `lines` or below, so a
// valid list can always be given. count is held within 0 and the list's size.
void edit_line_list(Session& s, std::string_view title, std::span<std::int32_t> list, int count, int lines,
                    int out);

}  // namespace kelp
