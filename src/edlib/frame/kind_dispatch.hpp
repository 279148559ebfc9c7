#pragma once
// The per-kind routines of the shared frame: an identity routine ("...top"),
// a data-file upgrader ("...upd") and, for two kinds, an import routine. Each
// program registers the real routines of its own kind in its session; every
// other slot holds an inoperative stub, so the frame runs unchanged in every
// program. An identity or upgrade stub that is reached anyway tells the user
// and stops the program; an import stub does nothing.
#include <array>
#include <functional>
#include <string>

namespace kelp {

class Session;

// The exit status of a stop in an inoperative routine.
inline constexpr int kInoperativeStopStatus = 2;

// Program kinds run from 1 to 17.
inline constexpr int kFirstKind = 1;
inline constexpr int kLastKind = 17;

// What an identity routine tells about its program. Texts are blank-padded
// to their field widths by the routine that fills them.
struct Identity {
  std::string program_name;  // 8 characters, e.g. "Rondixa "
  std::string main_name;     // 12 characters, the main-program name
  std::string editor_name;   // 12 characters, the editor's own name
  std::string data_file;     // 12 characters, e.g. "RONDDAT     "
  std::string backup_file;   // 12 characters, e.g. "RONDBAK     "
  float version = 0.0f;      // program version
  int kind = 0;              // program kind (word 1 of tpcm)
  int year = 0;
  int os_code = 0;      // operating-system code: below 5 big-endian machines
  int layout_code = 0;  // stored in word 141 at every load
  int run_mode = 0;     // stored in word 6; 3 is the silent server mode
};

// An identity routine fills the identity of its program.
using IdentityRoutine = std::function<void(Session&, Identity&)>;
// A data-file upgrader: the program version, and a status it sets (1 on
// entry, 0 when it wrote no change note).
using Upgrader = std::function<void(Session&, float version, int& status)>;
// An import routine, called with the program kind (word 1 of tpcm).
using ImportRoutine = std::function<void(Session&, int kind)>;

// The generic stubs: " ++> You are in an inoperative ???TOP file!" (or
// "???UPD"), "     Press <Return> to quit" on the screen, one line read from
// the keyboard, then a stop with kInoperativeStopStatus.
[[noreturn]] void inoperative_top(Session& s);
[[noreturn]] void inoperative_upd(Session& s);

// The named upgrade stubs.
[[noreturn]] void jckupd(Session& s, float version, int& status);  // kind 2, jack-up
[[noreturn]] void stmupd(Session& s, float version, int& status);  // kind 7, static mooring
[[noreturn]] void catupd(Session& s, float version, int& status);  // kind 8, catenary
[[noreturn]] void towupd(Session& s, float version, int& status);  // kind 10, towing
[[noreturn]] void clmupd(Session& s, float version, int& status);  // kind 13, catenary-anchor-leg buoy
[[noreturn]] void sloupd(Session& s, float version, int& status);  // kind 16, slow drift
// The disc-buoy upgrader where disc-buoy files are not upgraded (pivlorn).
[[noreturn]] void dscupd_stub(Session& s, float version, int& status);

// The named identity stubs.
[[noreturn]] void shptop(Session& s, Identity& id);  // kind 1, ship
[[noreturn]] void semtop(Session& s, Identity& id);  // kind 3, semisubmersible
[[noreturn]] void slmtop(Session& s, Identity& id);  // kind 11, single-anchor-leg mooring
[[noreturn]] void mortop(Session& s, Identity& id);  // kind 12, spread mooring
[[noreturn]] void tlptop(Session& s, Identity& id);  // kind 14, tension-leg platform
[[noreturn]] void spmtop_stub(Session& s, Identity& id);  // kind 15 where pivlorn's routine is absent
[[noreturn]] void sprtop(Session& s, Identity& id);  // kind 17, spar

// The import stubs: return at once.
void catimport(Session& s, int kind);  // kind 8
void sloimport(Session& s, int kind);  // kind 16

// The routines of every program kind. A default-built table holds, in every
// slot that has a named routine, the stubs of the family above and the real
// upgraders of this library (edlib/frame/upgraders.hpp):
//   identity:  1 shptop, 3 semtop, 4 inoperative (dsctop), 11 slmtop,
//              12 mortop, 14 tlptop, 15 spmtop, 17 sprtop;
//   upgrader:  1 shpupd, 3 semupd, 11 slmupd, 12, 14, 15 and 17 morupd;
//              4 dscupd_stub until the disc-buoy upgrader is registered;
//              2 jckupd, 7 stmupd, 8 catupd, 10 towupd, 13 clmupd, 16 sloupd;
//   import:    8 catimport, 16 sloimport.
// Kinds without a routine (5, 6, 9, and any value outside 1 to 17) have
// empty slots: the call functions return false and run nothing.
class KindDispatch {
 public:
  KindDispatch();

  // Registration of a program's real routines (ignored for a kind outside
  // 1 to 17).
  void set_identity(int kind, IdentityRoutine routine);
  void set_upgrader(int kind, Upgrader routine);
  void set_import(int kind, ImportRoutine routine);

  bool has_identity(int kind) const;
  bool has_upgrader(int kind) const;
  bool has_import(int kind) const;

  // Run the routine of a kind; false (nothing run) when its slot is empty.
  bool run_identity(Session& s, int kind, Identity& id) const;
  bool run_upgrader(Session& s, int kind, float version, int& status) const;
  bool run_import(Session& s, int kind, int program_kind) const;

 private:
  static bool in_range(int kind) { return kind >= kFirstKind && kind <= kLastKind; }
  static std::size_t slot(int kind) { return static_cast<std::size_t>(kind); }
  std::array<IdentityRoutine, kLastKind + 1> identity_{};
  std::array<Upgrader, kLastKind + 1> upgrader_{};
  std::array<ImportRoutine, kLastKind + 1> import_{};
};

// The table of this session (one per run, pre-filled with the stubs).
KindDispatch& kind_dispatch(Session& s);

}  // namespace kelp
