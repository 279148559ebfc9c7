#pragma once
// Import of record blocks from another data file: the vessel and environment
// block, the mooring system and the tug or buoy block (items 7, 8 and 9 of
// the End of Session page).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelp {

class Session;

// The blocks an import copies.
inline constexpr int kImportVesselBlock = 1;   // vessel and environment
inline constexpr int kImportMooringBlock = 2;  // mooring system
inline constexpr int kImportTugBlock = 3;      // tug or buoy (kinds 10 and 13)

// Words [first, end) of a block in a record of `kind`: block 1 is words 0 to
// 1,986 (0 to 4,974 for kind 3 and kinds 10 and above), block 2 words 4,975
// to 78,634, block 3 words 1,987 to 4,974. Any other block is empty.
struct WordRange {
  std::size_t first = 0;
  std::size_t end = 0;
};
WordRange import_block(int block, int kind);

// The file a path reply names: the reply as typed, without the blanks around
// it, or the text between quotes (single or double; a doubled quote inside
// stands for one). Slashes, commas and blanks are part of the name. nullopt
// for a reply that names nothing or runs past the 160-character field.
std::optional<std::string> import_path(std::string_view reply);

// Asks for the path of a data file and copies `block` of it into the record.
//
// The file is read whole into the import buffer, cleared before every read,
// and only the words the file held are copied: a short file leaves the rest
// of the block as the record had it. A blank path, a missing file (or a name
// that is no regular file), a file of which not a word can be read and a
// file that ends before the block begins are refused with a message; the
// record is not touched.
//
// A file of another version or from a computer of the other operating-system
// family, a file of this kind whose size is not the record size, and a block
// whose unit system differs from the rest of the record (a block that is not
// the whole record) are each warned about with a chance to abort; "A" leaves
// the record exactly as it was. Texts from a machine of the other byte order
// are put into this machine's order. An import never takes words 0, 1 and
// 117 (count, kind, sub-editor kind), 120 (the writer's operating system:
// the texts are now in this machine's order), 13 (batch flag) and 699 to 702
// (the editor state: an imported print-pass word must not start a pass) from
// the file.
void datload(Session& s, int block);

}  // namespace kelp
