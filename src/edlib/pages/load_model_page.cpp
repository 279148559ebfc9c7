#include "edlib/pages/load_model_page.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "edlib/pagekit/help_book.hpp"
#include "edlib/pagekit/page_output.hpp"
#include "edlib/pagekit/page_pattern.hpp"
#include "edlib/record/data_record.hpp"
#include "kelpkit/coef_sources.hpp"
#include "kelpkit/flag_fields.hpp"
#include "kelpkit/report_lines.hpp"
#include "kelpkit/toggles.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

// A current code of 15 is NSMB '91 with the "Mean" curve: row 4 of the
// current table, written only into field 1 (item 19).
constexpr int kNsmbMean = 15;
constexpr int kNsmb = 4;
constexpr int kUserTable = 1;  // source row 1: the LOWDAT table (wind, current)
constexpr int kWindTableItem = 5;
constexpr int kCurrentTableItem = 15;

// The three load types and their items: the independence toggle (first),
// the source lines (first + 1 to first + 3).
struct LoadType {
  std::string_view name;        // "Wind", "Current", "Wave"
  std::string_view model_line;  // the one source line of an independent type
  std::string (*source)(int code);
  int rows;  // rows of its source table
  int first;
  void (*help)(Session&, int row);
};
constexpr std::array<LoadType, 3> kTypes = {{
    {"Wind", "Wind force model ............................ ", wind_source_name, 5, 1, wndfhp},
    {"Current", "Current force model ......................... ", current_source_name, 7, 11, curfhp},
    {"Wave", "Wave force model ............................ ", drift_source_name, 7, 21, wavfhp},
}};
constexpr std::array<std::string_view, 3> kAxisLines = {"Head-on Coefficients (Cx) ................... ",
                                                        "Beam-on Coefficients (Cy) ................... ",
                                                        "Moment Coefficients  (Cz) ................... "};
constexpr std::array<std::string_view, 3> kAxes = {"Cx", "Cy", "Cz"};

constexpr std::string_view kLine = "(1X,I2,') ',A,A)";
constexpr std::string_view kValue = "(1X,I2,') ',A,F11.2,A)";

// The page's flags: the independence flags of the three types (set on
// entry), and what tnkrid derives from the selector words.
struct LowvesState {
  std::array<int, 3> same = {};
  int wind_user = 0, current_user = 0, drift_user = 0;
  int current_class = 0, wind_ocimf = 0, wind_shape = 0, current_shape = 0;
};

class LoadModelPage {
 public:
  LoadModelPage(Session& s, std::string_view label, std::string_view noun, const SelectorWords& words)
      : s_(s), t_(s.tpcm), label_(label), noun_(noun), words_(words) {
    initfm(s_, word(0), st_.same[0], word(1), st_.same[1], word(2), st_.same[2], msg());
  }

  void run() {
    PageHooks page;
    page.help_for = HelpFor::kAnyNumber;
    page.keys_redisplay_here = true;
    page.draw = [&](PageItems& w) { draw(w); };
    page.edit = [&](int item) { edit(item); };
    page.help = [&](int item) { lowvhp(s_, item); };
    run_page(s_, page);
    // The print pass goes on to the user tables in use.
    if (t_.i(kPrintPass) != 0) closing_steps();
  }

 private:
  std::int32_t& word(int type) {
    const SelectorWords& w = words_;
    return t_.i(type == 0 ? w.wind : (type == 1 ? w.current : w.drift));
  }
  int msg() const { return t_.i(kOutputUnit); }
  int field(int type, int f) { return nibval(s_, word(type), f, msg()); }
  bool drift_holds(int code) { return oneon(s_, word(2), code, msg()); }

  void refresh() {
    tnkrid(s_, word(0), st_.same[0], st_.wind_user, word(1), st_.same[1], st_.current_user, word(2), st_.same[2],
           st_.drift_user, st_.current_class, st_.wind_ocimf, st_.wind_shape, st_.current_shape, msg());
  }

  // ---- Conditions ----
  bool semi_drift() { return drift_holds(3) || drift_holds(5) || drift_holds(7); }
  bool shows_shadowing() { return semi_drift() && (drift_holds(3) || t_.i(kLegacyCylinderDrift) == 1); }
  bool wind_interpolated() { return bow_text(t_.r(kWindBowShape), false) == "Interpolated"; }
  bool current_interpolated() { return bow_text(t_.r(kCurrentBowShape), true) == "Interpolated"; }
  bool shows_mean_curve() {
    const int f1 = field(1, 1);
    return st_.current_class != 0 && t_.r(kDraftLoad) != 100.0f && (f1 == kNsmbMean || f1 == kNsmb);
  }

  static std::string bow_text(float v, bool current) {
    if (v == 0.0f) return current ? "Conventional (w/bulb)" : "Conventional";
    if (v == 1.0f) return current ? "Cylindrical (no bulb)" : "Cylindrical";
    if (v < 1.0f) return "Interpolated";
    return "Whoops!";
  }

  // ---- Lines ----
  void line(PageItems& w, bool shown, std::string_view text, const std::string& value, bool blank = false,
            bool accepted = false) {
    if (!shown) {
      w.hidden(accepted);
      return;
    }
    if (blank) lines(s_, w.out(), 1);
    fwrite(s_, w.out(), kLine, {w.custom(), std::string(text), value});
  }
  void value_line(PageItems& w, bool shown, std::string_view text, RealWord v, const std::string& unit,
                  bool blank = false, bool accepted = false) {
    if (!shown) {
      w.hidden(accepted);
      return;
    }
    if (blank) lines(s_, w.out(), 1);
    write_value(w.custom(), text, v, unit);
  }
  void write_value(int item, std::string_view text, RealWord v, const std::string& unit) {
    fwrite(s_, msg(), kValue, {item, std::string(text), t_.r(v), unit});
  }

  void draw_type(PageItems& w, int type) {
    const LoadType& lt = kTypes[static_cast<std::size_t>(type)];
    lines(s_, w.out(), 1);
    fwrite(s_, w.out(), "(1X,I2,') Toggle independent <<',A,'>> Cx, Cy, Cz')", {w.custom(), std::string(lt.name)});
    if (st_.same[static_cast<std::size_t>(type)] == 1) {
      line(w, true, lt.model_line, lt.source(field(type, 1)));
      w.hidden();
      w.hidden();
    } else {
      for (int f = 1; f <= 3; ++f) line(w, true, kAxisLines[static_cast<std::size_t>(f - 1)], lt.source(field(type, f)));
    }
  }

  void draw(PageItems& w) {
    const int out = w.out();
    if (t_.i(kPrintPass) == 0) clear(s_, out);
    fwrite(s_, out, "(T4,'****  Page ',A,': ',A,' Low-Frequency ','Dynamics Characteristics','  ****')",
           {std::string(label_), std::string(noun_)});
    refresh();
    const bool ocimf = st_.wind_ocimf == 1;
    const bool bow = st_.current_class != 0;
    const std::string percent = " Percent";

    draw_type(w, 0);
    line(w, st_.wind_user == 1, "Specify wind force coefficients", "");
    line(w, ocimf, "Above-Water Bow Shape ....................... ", fixed_text(bow_text(t_.r(kWindBowShape), false)),
         true);
    value_line(w, ocimf, "Freeboard-Based Load ........................", kFreeboardLoad, percent);
    value_line(w, ocimf && wind_interpolated(), "Bow Interpolation Factor ....................", kWindBowShape, "");
    w.hidden();  // 9
    w.hidden();  // 10

    draw_type(w, 1);
    line(w, st_.current_user == 1, "Specify current force coefficients", "");
    line(w, bow, "Below-Water Bow Shape ....................... ", fixed_text(bow_text(t_.r(kCurrentBowShape), true)),
         true);
    value_line(w, st_.current_class == 2, "Draft-Based Load ............................", kDraftLoad, percent);
    value_line(w, bow && current_interpolated(), "Bow Interpolation Factor ....................", kCurrentBowShape,
               "");
    line(w, shows_mean_curve(), "Use NSMB \"Mean\" curve for 40% load condition: ",
         yesno(field(1, 1) == kNsmbMean ? 1 : 0), false, st_.current_class == 2);
    w.hidden();  // 20

    draw_type(w, 2);
    w.hidden();  // 25
    line(w, st_.drift_user == 1, "Apply current correction to drift forces?     ", yesno(t_.i(kDriftCurrentCorrection)),
         true);
    // The shadowing factors are edited whenever chosen.
    value_line(w, shows_shadowing(), "Head-on shadowing & geometry factor .........", kSemiFactors, "", true, true);
    value_line(w, shows_shadowing(), "Beam-on shadowing & geometry factor .........", RealWord{kSemiFactors + 1}, "",
               false, true);
    line(w, semi_drift(), "Use legacy cylinder DFCs ....................       ", yesno(t_.i(kLegacyCylinderDrift)),
         true);
    w.hidden();  // 30
    value_line(w, ocimf, "Vessel Deadweight ...........................", kDeadweight, unitp(t_.i(kUnitSystem), 0),
               true);
  }

  static std::string fixed_text(const std::string& text) {
    std::string padded = text;
    padded.resize(24, ' ');
    return padded;
  }

  // ---- Edits ----
  void edit(int item) {
    const int out = msg();
    const int ask = t_.i(kBatchFlag);
    switch (item) {
      case 1:
      case 11:
      case 21: toggle2(s_, st_.same[static_cast<std::size_t>(item / 10)], ask, out, kKeyboard); break;
      case 2: case 3: case 4: case 12: case 13: case 14: case 22: case 23: case 24:
        if (!select_model(item)) return;
        break;
      case 6: bow_type(kWindBowShape, "Wind"); break;
      case 16: bow_type(kCurrentBowShape, "Current"); break;
      case 7: percentage(item, "Freeboard-Based Load ........................", kFreeboardLoad); break;
      case 17: percentage(item, "Draft-Based Load ............................", kDraftLoad); break;
      case 8: interpolation(item, kWindBowShape); return;
      case 18: interpolation(item, kCurrentBowShape); return;
      case 19:
        if (st_.current_class == 2) {
          const int f1 = field(1, 1);
          if (f1 == kNsmb || f1 == kNsmbMean) nibset(s_, word(1), 1, f1 == kNsmb ? kNsmbMean : kNsmb, out);
        }
        break;
      case 26:
        if (st_.drift_user == 1) toggle2(s_, t_.i(kDriftCurrentCorrection), ask, out, kKeyboard);
        break;
      case 27:
      case 28: {
        const RealWord w = item == 27 ? kSemiFactors : RealWord{kSemiFactors + 1};
        write_value(item, item == 27 ? "Head-on shadowing & geometry factor ........."
                                     : "Beam-on shadowing & geometry factor .........",
                    w, "");
        edit_real(s_, w, out);
        break;
      }
      case 29:
        if (drift_holds(5) || drift_holds(7)) toggle2(s_, t_.i(kLegacyCylinderDrift), ask, out, kKeyboard);
        break;
      case 31:
        write_value(item, "Vessel Deadweight ...........................", kDeadweight, unitp(t_.i(kUnitSystem), 0));
        edit_real(s_, kDeadweight, out);
        if (t_.r(kDeadweight) < 0.0f) t_.set_r(kDeadweight, 0.0f);
        break;
      default: break;  // 5 and 15 go straight to the closing steps
    }
    closing_steps();
  }

  // Items 7 and 17: a percentage held to 0..100.
  void percentage(int item, std::string_view text, RealWord w) {
    write_value(item, text, w, " Percent");
    edit_real(s_, w, msg());
    const float v = t_.r(w);
    if (v < 0.0f || v > 100.0f) t_.set_r(w, std::clamp(v, 0.0f, 100.0f));
  }

  // Items 8 and 18: a factor from 0 to 1; anything else is dropped.
  void interpolation(int item, RealWord w) {
    write_value(item, "Bow Interpolation Factor ....................", w, "");
    float v = t_.r(w);
    enterf(s_, v, msg(), kKeyboard);
    if (v >= 0.0f && v <= 1.0f) store_real(s_, w, v, msg());
  }

  // The model selection sub-page of a source line; false when the user left
  // with a navigation code (the page goes with it).
  bool select_model(int item) {
    const int type = item / 10;
    const LoadType& lt = kTypes[static_cast<std::size_t>(type)];
    const int f = item - lt.first;
    const bool one = st_.same[static_cast<std::size_t>(type)] == 1 && f == 1;
    const std::string title = one ? std::string(lt.name) : std::string(lt.name) + " " + std::string(kAxes[static_cast<std::size_t>(f - 1)]);
    const int out = msg();
    for (;;) {
      const int reply = choose(
          s_, out,
          [&] {
            clear(s_, out);
            fwrite(s_, out, "(/' +++  ',A,' Model Selection  +++'//)", {title});
            for (int n = 1; n <= lt.rows; ++n) fwrite(s_, out, "(1X,I1,') ',A)", {n, lt.source(n)});
          },
          [&](int row) { lt.help(s_, row); });
      if (reply == kNavKeys || reply > lt.rows) continue;
      if (reply == 0) return true;
      if (reply < 0) {
        leave_page(s_, reply);
        return false;
      }
      const int old = field(type, f);
      nibset(s_, word(type), f, reply, out);
      // A wind or current axis newly on the user table opens the table.
      if (type < 2 && reply == kUserTable && old != kUserTable) {
        t_.i(kNavCode) = type == 0 ? kWindTableItem : kCurrentTableItem;
      }
      return true;
    }
  }

  // The bow type sub-page; a navigation code only returns to the page.
  void bow_type(RealWord w, std::string_view name) {
    const int out = msg();
    const bool current = name == "Current";
    for (;;) {
      const int reply = choose(
          s_, out,
          [&] {
            clear(s_, out);
            lines(s_, out, 1);
            fwrite(s_, out, "('+++  ',A,'-Related Bow Type Selection  +++')", {std::string(name)});
            lines(s_, out, 1);
            write_text(s_, out, " 1) Conventional (with bulb)\n 2) Cylindrical (no bulb)\n 3) Interpolated (on 1 & 2)");
            lines(s_, out, 1);
          },
          [&](int n) {
            if (!current) {
              wbowhp(s_, n);
            } else if (field(1, 1) == 6 || (!oneon(s_, word(1), kNsmb, out) && field(1, 1) != kNsmbMean)) {
              ocimhp(s_, n);
            } else {
              nsmbhp(s_, n);
            }
          });
      if (reply < 1) return;
      if (reply <= 3) {
        t_.set_r(w, reply == 1 ? 0.0f : (reply == 2 ? 1.0f : 0.5f));
        return;
      }
    }
  }

  // After an action, and in the print pass: the user tables. False when a
  // table was left with a navigation code.
  bool closing_steps() {
    const bool print = t_.i(kPrintPass) != 0;
    refresh();
    if (t_.i(kNavCode) == kWindTableItem || (print && st_.wind_user == 1)) {
      if (!user_table("<<Wind Force>> Coefficient Specification", words_.wind, kLowcofWindTable)) return false;
    }
    refresh();
    if (t_.i(kNavCode) == kCurrentTableItem || (print && st_.current_user == 1)) {
      if (!user_table("<<Current Force>> Coefficient Specification", words_.current, kLowcofCurrentTable)) {
        return false;
      }
    }
    return true;
  }

  bool user_table(std::string_view title, IntWord selector, int table) {
    for (;;) {
      int code = 0;
      cofupd(s_, title, selector, table, kUserTable, code);
      if (t_.i(kPrintPass) != 0 || code == 0) return true;
      if (code < 0) {
        leave_page(s_, code);
        return false;
      }
    }
  }

  Session& s_;
  Tpcm& t_;
  std::string_view label_;
  std::string_view noun_;
  SelectorWords words_;
  LowvesState st_;
};

}  // namespace

void lowves(Session& s, std::string_view label, std::string_view noun, const SelectorWords& words) {
  LoadModelPage(s, label, noun, words).run();
}

}  // namespace kelp
