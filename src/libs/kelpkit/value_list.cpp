#include "kelpkit/value_list.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "kelpkit/array_utils.hpp"
#include "kelpkit/nohelp.hpp"
#include "sysutl/conversions.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

namespace {

constexpr int kRowsShown = 40;

// The list: row c holds entries c, c + 40, c + 80 and c + 120 up to n.
void show_values(Session& s, std::span<const float> vals, int n, int out) {
  for (int c = 1; c <= std::min(n, kRowsShown); ++c) {
    std::string format = "(1X";
    std::vector<fmt::Item> items;
    for (int k = c; k <= std::min(n, kValueListShown); k += kRowsShown) {
      format += k == c ? ",I3,')',F10.2" : ",6X,I3,')',F10.2";
      items.emplace_back(k);
      items.emplace_back(vals[static_cast<std::size_t>(k - 1)]);
    }
    fwrite(s, out, format + ")", items);
  }
}

void show_menu(Session& s, int n, int out) {
  fwrite(s, out, "(/1X,I3,') Auto repeat')", {n + 1});
  fwrite(s, out, "(/1X,I3,') Delete a row & collapse array')", {n + 2});
  fwrite(s, out, "(1X,I3,') Insert a null row & expand array')", {n + 3});
  fwrite(s, out, "(1X,I3,') Add a constant value to each array element')", {n + 4});
  fwrite(s, out, "(1X,I3,') Add a constant value to each array element (modulo 360)')", {n + 5});
}

// A real typed after a prompt; false for a blank or unreadable reply.
bool ask_real(Session& s, std::string_view prompt, float& value, int out, int in) {
  wrtlin(s, prompt, out);
  int blank = 0;
  crread(s, value, blank, in);
  return blank == 0;
}

// A row number 1..n typed as a real and truncated; false for a blank reply
// or a row outside the list.
bool ask_row(Session& s, std::string_view prompt, int n, int& row, int out, int in) {
  float typed = 0.0f;
  if (!ask_real(s, prompt, typed, out, in)) return false;
  row = trunc_saturating(typed);
  return row >= 1 && row <= n;
}

// Applies an operation to a copy of the slots and keeps it only when every
// value is finite; otherwise the list stays as it was and the user is told.
template <class Op>
void change_all(Session& s, std::span<float> slots, int out, int in, Op op) {
  std::vector<float> work(slots.begin(), slots.end());
  op(work);
  if (std::all_of(work.begin(), work.end(), [](float v) { return std::isfinite(v); })) {
    std::copy(work.begin(), work.end(), slots.begin());
    return;
  }
  s.write_line(out, "");
  s.write_line(out, " ++> Values out of range: the list is unchanged.");
  int reply = 0;
  prsret(s, out, in, reply);
}

}  // namespace

void autorp(Session& s, std::string_view title, std::span<float> vals, int n, int nmax, int out, int in,
            int& npage) {
  nmax = std::clamp(nmax, 0, static_cast<int>(std::min<std::size_t>(vals.size(), 1u << 30)));
  n = std::clamp(n, 0, nmax);
  const std::span<float> slots = vals.first(static_cast<std::size_t>(nmax));
  for (;;) {
    if (npage < 1) clear(s, out);
    fwrite(s, out, "(1X,A/)", {std::string(title)});
    show_values(s, slots, n, out);
    if (n > kValueListShown) {
      // The editor goes on with the values it can show.
      s.write_line(out, " ++> Array overflow in AUTORP.f");
      int reply = 0;
      prsret(s, out, in, reply);
      n = kValueListShown;
    }
    if (npage >= 1) {
      twopg(s, npage, out);
      return;
    }
    show_menu(s, n, out);
    int code = 0;
    int number = 0;
    entsel(s, code, out, in, number);
    if (code == kNavHelp) {
      int reply = 0;
      nohelp(s, out, in, reply);
      continue;
    }
    if (code == kNavKeys) continue;
    if (code < 1) return;

    float value = 0.0f;
    int row = 0;
    if (code <= n) {
      for (int r = code; r <= n; ++r) {
        wrtlni(s, "Enter new value for # ", r, out);
        float typed = slots[static_cast<std::size_t>(r - 1)];
        int blank = 0;
        crread(s, typed, blank, in);
        if (blank != 0) break;
        slots[static_cast<std::size_t>(r - 1)] = typed;
      }
    } else if (code == n + 1) {
      if (!ask_real(s, "Enter starting value: ", value, out, in) || nmax < 1) continue;
      float increment = 0.0f;
      ask_real(s, "Enter increment: ", increment, out, in);
      change_all(s, slots, out, in, [&](std::vector<float>& v) {
        v[0] = value;
        for (std::size_t c = 1; c < v.size(); ++c) v[c] = v[c - 1] + increment;
      });
    } else if (code == n + 2) {
      if (!ask_row(s, "Enter row number to delete: ", n, row, out, in)) continue;
      std::copy(slots.begin() + row, slots.end(), slots.begin() + row - 1);
      slots.back() = 0.0f;
    } else if (code == n + 3) {
      if (!ask_row(s, "Enter row number to nullify: ", n, row, out, in)) continue;
      std::copy_backward(slots.begin() + row - 1, slots.end() - 1, slots.end());
      slots[static_cast<std::size_t>(row - 1)] = 0.0f;
    } else if (code == n + 4 || code == n + 5) {
      if (!ask_real(s, "Enter constant value: ", value, out, in)) continue;
      const bool angles = code == n + 5;
      change_all(s, slots, out, in, [&](std::vector<float>& v) {
        for (float& x : v) x = angles ? std::fabs(reddeg(x + value)) : x + value;
      });
    }
  }
}

}  // namespace kelp
