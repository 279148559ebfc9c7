// The user coefficient tables of "LOWDAT" (cofupd): attack angles with the
// Cx, Cy and Cz coefficients of the axes that take their coefficients from
// the user table. Tables 3 and 4 and the words after them are never touched.
#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/pages/load_model_page.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/nohelp.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "kelpkit/value_list.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kRowsMax = static_cast<int>(kLowcofRows);
constexpr int kRowsMin = 2;
constexpr std::array<std::string_view, 3> kAxisNames = {"Cx", "Cy", "Cz"};
constexpr std::array<int, 3> kAxisColumns = {kLowcofCx, kLowcofCy, kLowcofCz};

class CoefTable {
 public:
  CoefTable(Session& s, std::string_view title, IntWord selector, int table, int source)
      : s_(s), title_(title), table_(table), count_(s.lowcof.i(*lowcof_count_word(table))) {
    for (int f = 1; f <= 3; ++f) {
      if (nibval(s, s.tpcm.i(selector), f, out()) == source) user_axes_.push_back(f);
    }
    // Only rows 1 to 21 belong to the table: a count from the file beyond
    // them would reach the next column.
    if (count_ < kRowsMin) count_ = kRowsMin;
    if (count_ > kRowsMax) count_ = kRowsMax;
    store_count();
  }

  int run() {
    PageHooks page;
    page.help_for = HelpFor::kAnyNumber;
    page.keys_redisplay_here = true;
    page.draw = [&](PageItems& w) { draw(w); };
    page.edit = [&](int item) { edit(item); };
    page.help = [&](int item) { cofhlp(s_, item); };
    run_page(s_, page);
    return s_.tpcm.i(kNavCode);
  }

 private:
  int out() const { return s_.tpcm.i(kOutputUnit); }
  float value(int column, int row) const { return s_.lowcof.r(*lowcof_word(table_, column, row)); }

  void title_line() { fwrite(s_, out(), "(' +++ ',A,' +++'/)", {std::string(title_)}); }

  void draw(PageItems& w) {
    const int o = w.out();
    if (s_.tpcm.i(kPrintPass) == 0) clear(s_, o);
    title_line();
    // The user axes' column heads at columns 18, 27 and 36 in turn.
    std::string head = "(' Bow-Relative'";
    for (std::size_t k = 0; k < user_axes_.size(); ++k) {
      head += ",T" + std::to_string(18 + 9 * k) + ",'" + std::string(kAxisNames[static_cast<std::size_t>(user_axes_[k] - 1)]) + " '";
    }
    fwrite(s_, o, head + ")");
    s_.write_line(o, " Attack Angle");
    lines(s_, o, 1);
    for (int row = 1; row <= count_; ++row) {
      std::vector<fmt::Item> items = {value(kLowcofAngle, row)};
      for (int f : user_axes_) items.emplace_back(value(kAxisColumns[static_cast<std::size_t>(f - 1)], row));
      fwrite(s_, o, "(1X,F8.2,4X,3F9.3)", items);
    }
    lines(s_, o, 1);
    fwrite(s_, o, "(2X,I2,') Number of angles (',I2,' Maximum): ',I2)", {w.custom(), kRowsMax, count_});
    fwrite(s_, o, "(2X,I2,') Specify ',A,' array')", {w.custom(), std::string("Angle")});
    fwrite(s_, o, "(2X,I2,') Specify ',A,' array')", {w.custom(), std::string("Coefficient")});
  }

  void edit(int item) {
    switch (item) {
      case 1: {
        enteri(s_, count_, out(), kKeyboard);
        maxchk(count_, kRowsMax);
        if (count_ < kRowsMin) count_ = kRowsMin;
        store_count();
        break;
      }
      case 2: edit_column(kLowcofAngle, "  -- Table of Bow-On Attack Angles (degrees) --"); break;
      case 3: choose_axis(); break;
      default: break;
    }
  }

  // Item 3: the one user axis at once, else the axis sub-page until left.
  void choose_axis() {
    if (user_axes_.size() == 1) {
      edit_axis(user_axes_.front());
      return;
    }
    const int o = out();
    for (;;) {
      const int reply = choose(
          s_, o,
          [&] {
            if (s_.tpcm.i(kPrintPass) == 0) clear(s_, o);
            title_line();
            s_.write_line(o, " ++> Select coefficient array to modify");
            lines(s_, o, 1);
            for (int f : user_axes_) {
              fwrite(s_, o, "(2X,I2,') ',A)", {f, std::string(kAxisNames[static_cast<std::size_t>(f - 1)])});
            }
          },
          [&](int) {
            int wait = 0;
            nohelp(s_, o, kKeyboard, wait);
          });
      if (reply == 0) return;
      if (reply < 0 && reply != kNavKeys) {
        leave_page(s_, reply);
        return;
      }
      if (reply >= 1 && reply <= 3 && std::find(user_axes_.begin(), user_axes_.end(), reply) != user_axes_.end()) {
        edit_axis(reply);
      }
    }
  }

  void edit_axis(int f) { edit_column(kAxisColumns[static_cast<std::size_t>(f - 1)], "  -- Table of Coefficients --"); }

  // One column through the list editor, which leaves the shared count alone
  // so that the angles and the coefficients stay in step.
  void edit_column(int column, std::string_view title) {
    std::vector<float> v(kLowcofRows);
    for (int row = 1; row <= kRowsMax; ++row) v[static_cast<std::size_t>(row - 1)] = value(column, row);
    autorp(s_, title, v, count_, kRowsMax, out(), kKeyboard, s_.tpcm.i(kPrintPass));
    for (int row = 1; row <= kRowsMax; ++row) {
      s_.lowcof.i(*lowcof_word(table_, column, row)) = std::bit_cast<std::int32_t>(v[static_cast<std::size_t>(row - 1)]);
    }
  }

  void store_count() { s_.lowcof.i(*lowcof_count_word(table_)) = count_; }

  Session& s_;
  std::string_view title_;
  int table_;
  int count_;
  std::vector<int> user_axes_;
};

}  // namespace

void cofupd(Session& s, std::string_view title, IntWord selector, int table, int source, int& code) {
  if (!lowcof_count_word(table)) {
    code = 0;
    return;
  }
  code = CoefTable(s, title, selector, table, source).run();
}

}  // namespace kelp
