#include "sysutl/terminal.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <thread>

#include "sysutl/conversions.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/fortran_read.hpp"
#include "sysutl/replies.hpp"
#include "sysutl/session.hpp"

namespace kelp {

namespace {

constexpr std::string_view kAbortPrompt = "Enter \"A\" to abort or Press <RETURN> to continue: ";

// The longest wait sydelay accepts: one day.
constexpr int kMaxDelaySeconds = 86400;

void ring_and_ask(Session& s, int out) {
  s.write(out, std::string(1, kBell));
  wrtlin(s, kAbortPrompt, out);
}

}  // namespace

void wrtlin(Session& s, std::string_view text, int out) { s.prompt(out, text); }

void wrtlni(Session& s, std::string_view text, int item, int out) {
  if (is_silent(out)) return;
  fwrite(s, kScreen, "(1X,A,I3,'  ',$)", {std::string(text), item});
  s.unit(kScreen).flush();
}

void clear(Session& s, int out) { s.clear_screen(out); }

void page(Session& s, int out, int screen, int ccunit) {
  if (out == screen) {
    clear(s, screen);
  } else if (is_silent(out)) {
    return;
  } else if (out == ccunit) {
    s.write_line(out, "1");
  } else {
    s.write_line(out, "\f");
  }
}

void twopg(Session& s, int& count, int out) {
  ++count;
  if (count % 2 != 0) {
    page(s, out, kScreen, 99);
  } else {
    s.write(out, "\n\n\n");
  }
}

void prsret(Session& s, int out, int in, int& reply) {
  reply = 0;
  if (is_silent(out)) return;
  s.write_line(out, " ");
  wrtlin(s, "Press <RETURN> to continue: ", out);
  float value = 0.0f;
  int blank = 0;
  crread(s, value, blank, in);
  reply = blank != 0 ? 0 : trunc_saturating(value);
}

void wrnful(Session& s, int& count, int out, int in) {
  if (count < 5) return;
  int reply = 0;
  prsret(s, out, in, reply);
  if (reply < 0) return;
  clear(s, out);
  count = 0;
}

void wrninc(Session& s, int& counter, int a, int b, int out, int in, int per) {
  // a and b were taken before the raise, so the message just written makes
  // the total a + b + 1, whichever of the two counts it belongs to.
  const long long total = static_cast<long long>(a) + b + 1;
  ++counter;
  if (per > 0 && total > 0 && total % per == 0) {
    int reply = 0;
    prsret(s, out, in, reply);
    clear(s, out);
  }
}

void abort0(Session& s, int out, int /*in*/, int& reply) {
  reply = 0;
  if (is_silent(out)) return;
  ring_and_ask(s, out);
  char ch = ' ';
  readcp(s, ch);
  reply = (ch == 'A' || ch == 'a') ? -1 : 0;
}

void serv_abort(Session& s, int out, int& reply) {
  if (is_silent(out)) throw ProgramStop(1);
  abort0(s, out, kKeyboard, reply);
}

void abort3(Session& s, int out, int in, int& reply) {
  if (is_silent(out)) throw ProgramStop(1);
  for (;;) {
    ring_and_ask(s, out);
    const std::string field = s.read_field(in, 12);
    const auto first = field.find_first_not_of(' ');
    if (first == std::string::npos) {
      reply = 0;
      return;
    }
    if (field[first] == 'A' || field[first] == 'a') {
      reply = -1;
      return;
    }
    std::int32_t number = 0;
    if (fin::read_list(field, std::span<std::int32_t>(&number, 1)) >= 1 && number == 99) {
      reply = 99;
      return;
    }
    // Unrecognised: show it and ask again (nothing is lost by a typing slip).
    s.write_line(kScreen, "");
    s.write_line(kScreen, " >>> Unrecognized option in ABORT3: " + field);
    s.write_line(kScreen, "     Press <Return> to continue");
    s.read_line(in);
  }
}

DelayClock DelayClock::steady() {
  return DelayClock{[] { return std::chrono::steady_clock::now(); },
                    [](std::chrono::steady_clock::duration d) { std::this_thread::sleep_for(d); }};
}

void sydelay(int& seconds, int& polls, const DelayClock& clock) {
  polls = 0;
  if (seconds > kMaxDelaySeconds) seconds = kMaxDelaySeconds;
  if (seconds <= 0) return;
  const auto start = clock.now();
  const auto until = start + std::chrono::seconds(seconds);
  constexpr std::chrono::steady_clock::duration kStep = std::chrono::seconds(1);
  for (;;) {
    const auto now = clock.now();
    ++polls;
    if (now >= until) return;
    clock.sleep(std::min<std::chrono::steady_clock::duration>(until - now, kStep));
  }
}

}  // namespace kelp
