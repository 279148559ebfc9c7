#pragma once
// Runs of the semisubmersible, ship and single-anchor-leg editors for tests:
// the identity a test registers for the kind, a run over fake pages that
// records each visit, and the single-anchor-leg editor over its own pages.
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "edlib/frame/kind_dispatch.hpp"
#include "edlib/record/data_record.hpp"
#include "others/editor_loop.hpp"
#include "salm/e/salmed.hpp"
#include "sysutl/replies.hpp"
#include "test_session.hpp"
#include "test_tempdir.hpp"

namespace kelp::testing {

// The status with which a fake page stops the run once its script is used up.
inline constexpr int kScriptDone = 99;

inline Identity test_identity(int kind) {
  Identity id;
  id.program_name = "Testkind";
  id.main_name = "TESTMAIN    ";
  id.editor_name = "TESTEDIT    ";
  id.data_file = "TESTDAT     ";
  id.backup_file = "TESTBAK     ";
  id.version = 6.8f;
  id.kind = kind;
  id.year = 2020;
  id.os_code = 21;
  id.layout_code = 49;
  id.run_mode = 2;
  return id;
}

using Editor = void (*)(Session&, std::span<const EditorPage>);

// Fake pages in every slot but the empty ones: each visit is recorded and
// leaves the next scripted code (for a jump, its page number in word 700);
// when the script is used up the visited page stops the run.
struct FakeRun {
  FakeRun(Editor editor, int kind, int slots, std::string replies, std::set<int> empty = {})
      : editor(editor), ss(std::move(replies)), fs(std::make_shared<DirFiles>()), pages(slots) {
    ss.s.set_files(fs);
    kind_dispatch(ss.s).set_identity(kind, [kind](Session&, Identity& id) { id = test_identity(kind); });
    for (int k = 1; k <= slots; ++k) {
      if (empty.count(k) == 0) pages[static_cast<std::size_t>(k - 1)] = [this, k](Session& s) { visit(s, k); };
    }
  }

  void visit(Session& s, int slot) {
    visits.push_back(slot);
    if (hook) hook(s, slot);
    if (next == script.size()) throw ProgramStop(kScriptDone);
    const auto [code, number] = script[next++];
    s.tpcm.i(kNavCode) = code;
    if (code == kNavJump) s.tpcm.i(kPageCounter) = number;
  }

  // The stop status, or -1 when the editor returned.
  int run() {
    try {
      editor(ss.s, pages);
      return -1;
    } catch (const ProgramStop& stop) {
      return stop.status();
    }
  }

  Editor editor;
  ScriptedSession ss;
  std::shared_ptr<DirFiles> fs;
  std::vector<EditorPage> pages;
  std::vector<std::pair<int, int>> script;
  std::size_t next = 0;
  std::vector<int> visits;
  std::function<void(Session&, int)> hook;
};

// The single-anchor-leg editor over its own pages.
inline FakeRun salm_pages_run(std::string replies) {
  return FakeRun([](Session& s, std::span<const EditorPage>) { salmed(s); }, kSalmKind, kSalmSlots,
                 std::move(replies));
}

// The labels of the page headers shown, as " 1 8 9 ".
inline std::string page_labels(const std::string& screen) {
  std::string labels = " ";
  for (auto p = screen.find("  Page "); p != std::string::npos; p = screen.find("  Page ", p + 1)) {
    labels += screen.substr(p + 7, screen.find(':', p) - p - 7) + " ";
  }
  return labels;
}

}  // namespace kelp::testing
