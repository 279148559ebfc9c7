#pragma once
// Item lines of the load pages (wind, current, external forces, dynamic
// positioning): the head of the line (" nn) " and the label, or blanks and
// the label of an unnumbered line), a blank and a dot leader up to a fixed
// column, then the value and its unit, each page with its own column.
#include <string>
#include <string_view>

namespace kelp {

class Session;

// The head, a blank and dots up to `width` characters; when fewer than two
// dots would fit, the head and one blank only.
std::string dotted(std::string_view head, std::size_t width);

// " nn) label" (item in two places) led out with dots to `width`.
std::string item_head(int item, std::string_view label, std::size_t width);

// A value line on out: the head, the value under its edit descriptor
// ("F11.2", "E11.3") and the unit text.
void value_line(Session& s, int out, const std::string& head, float value, std::string_view descriptor,
                const std::string& unit = {});

}  // namespace kelp
