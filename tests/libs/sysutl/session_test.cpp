#include "sysutl/session.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "sysutl/files_shell.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp {
namespace {

using testing::ScriptedSession;

TEST(Session, ReadsFieldsBlankPaddedAndCut) {
  ScriptedSession t("ab\nabcdefghij\n");
  EXPECT_EQ(t.s.read_field(kKeyboard, 6), "ab    ");
  EXPECT_EQ(t.s.read_field(kKeyboard, 6), "abcdef");
}

TEST(Session, EndOfInputStopsWithMessageOnItsOwnLine) {
  ScriptedSession t("");
  t.s.prompt(kScreen, "Enter new value: ");
  try {
    t.s.read_line(kKeyboard);
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status(), 1);
  }
  EXPECT_EQ(t.shown(), " Enter new value: \n ++> End of input: session ended, nothing saved.\n");
}

TEST(Session, EndOfInputNamesWhatWasAlreadySaved) {
  // A run's report open then ends with the same line; one that cannot be
  // written shows its findings in its place, and the line only once.
  const std::string line = " ++> End of input: session ended; saved before it: RONDDAT\n";
  for (const auto fault : {testing::FaultyFiles::kNone, testing::FaultyFiles::kWrite}) {
    const testing::TempDir dir;
    ScriptedSession t("");
    t.s.set_files(std::make_shared<testing::FaultyFiles>(fault, dir / "Diagnostics.stxt"));
    ASSERT_TRUE(open_report(t.s, dir / "Diagnostics.stxt", kSilentUnit, "Fintop", kScreen));
    t.s.write_line(kSilentUnit, "findings");
    t.s.note_saved("RONDDAT");
    t.s.note_saved("RONDDAT");
    EXPECT_THROW(t.s.read_line(kKeyboard), ProgramStop);
    EXPECT_EQ(t.s.staged_text(kSilentUnit), "findings\n\n" + line);
    EXPECT_EQ(close_run_reports(t.s, 1), fault == testing::FaultyFiles::kNone ? 1 : kFileErrorStatus);
    EXPECT_EQ(t.shown(), line + (fault == testing::FaultyFiles::kNone
                                     ? ""
                                     : "\n ++> File not found or file access error in Fintop\n     File name: " +
                                           dir / "Diagnostics.stxt" +
                                           "\n     Reason: the disk reports an input or output error\n \nfindings\n"));
  }
}

TEST(Session, SilentUnitGetsNoPromptAndNoClear) {
  ScriptedSession t;
  t.s.prompt(kSilentUnit, "x");
  t.s.clear_screen(kSilentUnit);
  t.s.clear_screen(kScreen);  // not a terminal: nothing either
  EXPECT_EQ(t.shown(), "");
}

TEST(Session, UnopenedUnitSwallowsOutput) {
  ScriptedSession t;
  t.s.write_line(77, "lost");
  t.s.write_line(kScreen, "seen");
  EXPECT_EQ(t.shown(), "seen\n");
}

TEST(Session, SavedStateLivesPerType) {
  struct Flags {
    int warned = 0;
  };
  ScriptedSession t;
  t.s.state<Flags>().warned = 3;
  EXPECT_EQ(t.s.state<Flags>().warned, 3);
}

TEST(Record, TextPacksLowCharacterFirst) {
  Tpcm r;
  r.set_text(59, 6, "ABCDEF");
  EXPECT_EQ(static_cast<std::uint32_t>(r.i(59)), 0x44434241u);
  EXPECT_EQ(r.text(59, 6), "ABCDEF");
  r.set_r(216, 6.8f);
  EXPECT_FLOAT_EQ(r.r(216), 6.8f);
  EXPECT_THROW(r.i(kTpcmWords), std::out_of_range);
}

}  // namespace
}  // namespace kelp
