#pragma once
// The pieces the output-option pages of the editors share: the output device
// item and its menu, the letter of a disk drive, the square-law driving force
// menu with the menu entries of a stored choice, and the frame around the
// version 5.x flags. Each page keeps its own item numbers and layout; what
// differs between the pages is a parameter here.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kelp {

class Session;
class PageItems;

// ---- Menu entries ----

// The width a menu entry is shown in, blank-padded.
inline constexpr std::size_t kMenuEntryChars = 75;

// Entry `index` (0-based) of a menu's texts, blank-padded to 75 characters;
// the blank entry for an index outside the table (a stored value from a file
// is shown, never used to index).
std::string menu_entry(std::span<const std::string> table, int index);
std::string menu_entry(std::span<const std::string_view> table, int index);

// The chosen entry under its item line: an empty line, the entry indented by
// five blanks, an empty line.
void indented_entry(Session& s, PageItems& w, std::string_view entry);

// ---- Square-law driving force treatment (word 142, 0-based) ----

// The menu of the treatment: a screen clear, the title, an empty line, and
// entries 1 to 3 of `table` (menu_entry), each followed by an empty line;
// "?" or "?n" shows help(n). The menu stays up through "H"; a reply above 3
// is held to 3, a blank reply or another navigation code keeps the word.
void choose_square_law(Session& s, std::span<const std::string_view> table, void (*help)(Session&, int item));

// ---- Output device (word 108; the disk drive in word 109) ----

// The letter of disk drive `drive` (1 "A", 2 "B", ...): the character 64 +
// drive, or "?" where that is no printable character (drive outside 1..62).
std::string drive_letter(int drive);

// How a page names a disk drive above 0: by its letter, or always "C".
enum class DriveName { kLetter, kAlwaysC };

// The output device item: " nn) Output goes to Console" while word 108 is
// `console`, " nn) Output goes to Disk, on logged drive" for the disk (word
// 108 = 1) on drive 0, " nn) Output goes to Disk, on drive " and the drive's
// name on a drive above 0. Any other setting writes no line; the item keeps
// its number.
void output_device_item(Session& s, PageItems& w, int console, DriveName drive);

// The layout of the device menu: empty lines before the title (or, without
// one, before the entries), whether the title " >>> Output Device Selection:
// <<<" and an empty line stand above the entries, and empty lines after the
// two entries " 1) Console" and " 2) Disc".
struct DeviceMenu {
  int lines_above = 0;
  bool title = true;
  int lines_below = 1;
};

// The device menu after a screen clear; "?" shows nohelp and the menu again.
// Reply 1 sets word 108 to the current output unit (word 702), reply 2 to 1
// (the disk); any other reply keeps the device.
void choose_output_device(Session& s, const DeviceMenu& menu);

// ---- The version 5.x flags ----

// The lines around the version 5.x flags of an output-option page: an empty
// line, "++> Begin Version 5.x Flags" (or "End"), an empty line. Unnumbered
// rows of a table page.
void begin_version5_flags(Session& s, PageItems& w);
void end_version5_flags(Session& s, PageItems& w);

}  // namespace kelp
