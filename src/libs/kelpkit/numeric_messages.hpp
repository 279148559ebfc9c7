#pragma once
// The messages, waits and stops of the numerical routines, kept apart from
// the arithmetic: each routine here runs the pure routine of the same name and
// then talks to the user on the session's units as the old program did.
#include "sysutl/session.hpp"

namespace kelp {

// Program-stop status after a fatal failure inside the numerical library.
inline constexpr int kNumericStopStatus = 2;

// wavvec (kelpkit/wave_formulas.hpp) for callers that stop on a root-finder
// failure: writes " >>> IER = n in WAVVEC; Please contact Brenvik." and the
// key prompt on the screen, reads one reply and stops. A non-finite argument
// does not stop: kWaveBadArgument is returned with kh = 0.
int wavvec(Session& s, float x, float& kh);

// The large-count warning of elpcof on unit out (a blank line and three
// lines; member 0 names no member), then the RETURN wait.
void elpcof_warning(Session& s, int out, int in, int member, int intervals);

// elpcof with its warning shown once per warned flag (set to 1 by the
// warning). kind 1 mass, 2 moment; member 0 for none.
void elpcof(Session& s, float p, float q, int n, int kind, float& coef, int out, int in, int& warned, int member);

// jonsval with the old dialogue on unit out: at a try limit " ++> Possible
// iteration failure in JONSVAL" and the abort question (unit 41 or "A" stop
// the program, otherwise the search goes on); the two fatal conditions print
// their message, wait for RETURN and stop. Returns kJonsvalOk, or
// kJonsvalBadArgument (val unchanged) for arguments it cannot integrate.
int jonsval(Session& s, float sa, float sb, float gamma, float& val, int out);

// The same dialogue without the stops, for callers that abandon their work
// instead: an abort at the try limit (or the limit reached on unit 41)
// returns kJonsvalAborted, the two fatal conditions return their status
// after the message and the wait.
int jonsval_report(Session& s, float sa, float sb, float gamma, float& val, int out);

}  // namespace kelp
