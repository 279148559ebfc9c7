#pragma once
// Prompts, waits, screen and paging. On the silent-run report unit 41 nothing
// is prompted, cleared, paged or waited for.
#include <chrono>
#include <functional>
#include <string_view>

namespace kelp {

class Session;

// The bell written before each abort prompt.
inline constexpr char kBell = '\a';

// A prompt without line end: one blank and the text on the screen whatever
// the output unit, flushed; nothing on unit 41.
void wrtlin(Session& s, std::string_view text, int out);

// A blank, the text, item in three digits and two blanks on the screen
// without line end ("(1X,A,I3,'  ',$)"); nothing on unit 41.
void wrtlni(Session& s, std::string_view text, int item, int out);

// Clears the screen (not on unit 41).
void clear(Session& s, int out);

// Page break: out == screen clears the screen; unit 41 nothing; out == ccunit
// writes the line "1"; any other unit a line holding the form feed.
void page(Session& s, int out, int screen, int ccunit);

// Half-page pairing of a print pass: count := count + 1; odd: page (out, 6,
// 99); even: three empty lines.
void twopg(Session& s, int& count, int out);

// Blank line and "Press <RETURN> to continue: "; reply := the typed number
// truncated toward zero (saturated to the int range), 0 for a blank or
// unreadable reply. Unit 41: reply := 0 without reading.
void prsret(Session& s, int out, int in, int& reply);

// Warning-screen pager: count >= 5 waits; unless the reply is negative the
// screen is cleared and count := 0.
void wrnful(Session& s, int& count, int out, int in);

// Warning-list pager, called after each message with counter the count that
// the message raises and a, b the warning and fatal-warning counts before
// the raise (pass them by value, counter may be one of them). counter is
// raised first; the list then pauses (wait and clear) whenever the new total
// a + b + 1 is a positive multiple of per.
void wrninc(Session& s, int& counter, int a, int b, int out, int in, int per);

// Bell, "Enter "A" to abort or Press <RETURN> to continue: ", one character
// from the keyboard: "A"/"a" gives -1, anything else 0. Unit 41: 0 at once.
void abort0(Session& s, int out, int in, int& reply);

// As abort0, but unit 41 stops the program at once.
void serv_abort(Session& s, int out, int& reply);

// Bell and the abort prompt, a reply of 12 characters: blank 0, first item
// beginning with "A"/"a" -1, the integer 99 gives 99; any other reply shows
// " >>> Unrecognized option in ABORT3: " with it and asks again. Unit 41
// stops the program at once.
void abort3(Session& s, int out, int in, int& reply);

// The clock and sleep of sydelay, replaceable in tests.
struct DelayClock {
  std::function<std::chrono::steady_clock::time_point()> now;
  std::function<void(std::chrono::steady_clock::duration)> sleep;
  static DelayClock steady();
};

// Waits seconds of wall-clock time (clamped to 86,400 in the caller's
// variable; 0 or less returns at once). polls := the number of clock readings
// taken after the start (one per sleep step of at most one second).
void sydelay(int& seconds, int& polls, const DelayClock& clock = DelayClock::steady());

}  // namespace kelp
