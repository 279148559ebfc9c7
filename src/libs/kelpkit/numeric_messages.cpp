#include "kelpkit/numeric_messages.hpp"

#include "kelpkit/wave_formulas.hpp"
#include "sysutl/fortran_format.hpp"
#include "sysutl/terminal.hpp"

namespace kelp {

int wavvec(Session& s, float x, float& kh) {
  const int status = wavvec(x, kh);
  if (status == kWaveOk || status == kWaveBadArgument) return status;
  fwrite(s, kScreen, "(' >>> IER = ',I1,' in WAVVEC; Please contact Brenvik.')", {status});
  s.write_line(kScreen, "     press any letter key + <RETURN> to continue...");
  s.read_line(kKeyboard);
  throw ProgramStop(kNumericStopStatus);
}

void elpcof_warning(Session& s, int out, int in, int member, int intervals) {
  if (member != 0) {
    fwrite(s, out,
           "(/,' ++> Warning: Member ',I2,' requires',I7,' integration points',/,"
           "'              in ELPCOF; this may result in',' pathological mass coefficients.',/,"
           "'              Consider using a less eccentric member model;',' this will not',/,"
           "'              appreciably affect your added mass estimates.')",
           {member, intervals});
  } else {
    fwrite(s, out,
           "(/,' ++> Warning: A highly eccentric body requires',I7,' integration points',/,"
           "'              in ELPCOF; this may result in',' pathological mass coefficients.',/,"
           "'              Contact Brenvik to report this message.')",
           {intervals});
  }
  int reply = 0;
  prsret(s, out, in, reply);
}

void elpcof(Session& s, float p, float q, int n, int kind, float& coef, int out, int in, int& warned, int member) {
  const int intervals = elpcof_intervals(p, q, n, kind);
  if (intervals > kElpcofWarnIntervals && warned != 1) {
    warned = 1;
    elpcof_warning(s, out, in, member, intervals);
  }
  coef = elpcof_sum(p, q, intervals, kind);
}

int jonsval_report(Session& s, float sa, float sb, float gamma, float& val, int out) {
  const auto retry = [&s, out] {
    s.write_line(out, " ++> Possible iteration failure in JONSVAL");
    int answer = 0;
    abort0(s, out, kKeyboard, answer);
    return answer != -1 && !is_silent(out);
  };
  const int status = jonsval(sa, sb, gamma, val, retry);
  if (status == kJonsvalRoundoff || status == kJonsvalTableTooSmall) {
    s.write_line(out, status == kJonsvalRoundoff ? " ++> FATAL error: unfixable roundoff error in JONSVAL"
                                                 : "++> FATAL error: NDIM > NDMSUP in JONSVAL");
    int reply = 0;
    prsret(s, out, kKeyboard, reply);
  }
  return status;
}

int jonsval(Session& s, float sa, float sb, float gamma, float& val, int out) {
  const int status = jonsval_report(s, sa, sb, gamma, val, out);
  if (status != kJonsvalOk && status != kJonsvalBadArgument) throw ProgramStop(kNumericStopStatus);
  return status;
}

}  // namespace kelp
