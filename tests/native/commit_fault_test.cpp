// A commit cut short after any platform call (a power cut, a crash) loses no
// entry: every row still in the list is in its old place or its new one.
#include <gtest/gtest.h>

#include <algorithm>

#include "startup/catalogue.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

// Every source, checked and unchecked, a name in both a key and its twin, a
// deleted row, a moved row, an edited row, both kinds of swap, and values and
// files the commit must never touch.
void SeedRichMachine(StartupMachine& m) {
  for (int s = 0; s < kSourceCount; ++s) {
    const StartupSource& source = StartupSources()[s];
    if (source.kind != PlaceKind::RegistryKey) continue;
    for (bool enabled : {true, false})
      m.PutString(source.root, KeyPath(source.writePath, enabled), std::string(source.tag) + (enabled ? "-on" : "-off"),
                  std::string("c:\\") + source.tag + ".exe");
  }
  m.PutString(kHkeyCurrentUser, kRun, "Swap", "swap-on.exe");
  m.PutString(kHkeyCurrentUser, std::string(kRun) + "-", "Swap", "swap-off.exe");
  m.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\e.exe", kRegExpandSz);
  m.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Flags", 32);
  m.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  m.PutString(kHkeyLocalMachine, kRun, "??", "korean.exe");
  m.registry.MakeNameUnrepresentable(kHkeyLocalMachine, kRun, "??");
  m.profile.Put("windows", "load", "l.exe");
  m.profile.Put("windows", "noload", "nl.exe");
  m.profile.Put("windows", "norun", "nr.exe");
  m.AddStartupFile("shown.lnk");
  m.AddStartupFile("hidden.lnk", kAttrHidden);
  m.AddStartupFile("doomed.lnk");
}

void ChangeRows(Form1& form) {
  auto row = [&](const char* name) {
    for (int i = 0; i < form.List1.ListCount(); ++i)
      if (form.List1.List(i) == name) return i;
    return -1;
  };
  for (auto [name, on] : {std::pair{"reg-on", false}, {"reg2-off", true}, {"hidden", true},
                          {"l.exe", false}, {"nl.exe", true}})  // moves; load and noload trade places
    form.List1.SetSelected(row(name), on);
  for (int i = 0; i < form.List1.ListCount(); ++i)  // Swap and Swap trade places
    if (form.List1.List(i) == "Swap") form.List1.SetSelected(i, !form.List1.Selected(i));
  for (const char* name : {"exp", "regs-on", "doomed"}) {
    form.List1.SetListIndex(row(name));
    form.List1_Click();
    if (*name == 'e') form.Text2.SetText("%windir%\\edited.exe");  // edited in place
    else form.Command1_Click();
  }
}

std::vector<StartupEntry> Rows(Form1& form) {
  std::vector<StartupEntry> rows;
  for (int i = 0; i < form.entries().Count(); ++i) rows.push_back(form.entries().Row(i));
  return rows;
}

// Whether entry's text stands in the place its tag and mark name, or under
// a spare name a swap copies it to.
bool IsKept(StartupMachine& m, const StartupEntry& e) {
  const StartupSource* s = FindSource(e.tag);
  std::string text;
  RegValue value;
  if (s->kind == PlaceKind::StartupFolder) return m.files.Exists(e.commandLine);
  if (s->kind == PlaceKind::WinIni && m.profile.Get("windows", e.enabled ? s->iniKey : s->iniDisabledKey, &text) &&
      text == e.commandLine)
    return true;
  if (s->kind == PlaceKind::RegistryKey &&
      Module1(m.registry).ReadRegValue(s->root, KeyPath(s->writePath, e.enabled), e.name, &value) == kOk &&
      !value.empty() && value.TextForm() == e.commandLine)
    return true;
  return m.Dump().find(" (backup)|1|" + e.commandLine + '\0') != std::string::npos;
}

// One commit on a freshly seeded machine, cut after budget calls (-1: never).
// Returns the calls it made; checks that no listed row is lost.
long CommitCutAfter(long budget) {
  StartupMachine m;
  SeedRichMachine(m);
  RecordingHost host;
  Form1 form(m.platform, host);
  form.Form_Load();
  const std::vector<StartupEntry> scanned = Rows(form);
  ChangeRows(form);
  const std::vector<StartupEntry> wanted = Rows(form);
  const long before = m.memory.CallCount();
  m.memory.SetCallBudget(budget);
  try {
    form.Command2_Click();
  } catch (const mem::PowerCut&) {
  }
  m.memory.SetCallBudget(-1);
  const long calls = m.memory.CallCount() - before;
  // Each row still listed: its wanted copy, or when cut, its scanned one.
  for (const StartupEntry& row : wanted) {
    if (row.name == "??") continue;  // unreachable by name: counted below
    bool found = IsKept(m, row);
    for (const StartupEntry& old : scanned)
      found = found || (budget >= 0 && old.tag == row.tag && old.name == row.name && IsKept(m, old));
    EXPECT_TRUE(found) << "row " << row.name << " lost after " << budget << " calls";
  }
  std::vector<std::string> names = m.registry.ValueNames(kHkeyLocalMachine, kRun);
  EXPECT_EQ(std::count(names.begin(), names.end(), "??") + std::count(names.begin(), names.end(), "multi"), 2);
  if (budget < 0) {
    EXPECT_TRUE(host.ended && host.boxes.empty());
    EXPECT_FALSE(m.registry.HasValue(kHkeyCurrentUser, std::string(kRun) + "-", "Swap (backup)"));
  }
  return calls;
}

TEST(CommitFaultTest, NoRowIsLostWhereverTheCommitStops) {
  const long fullCommitCalls = CommitCutAfter(-1);
  ASSERT_GT(fullCommitCalls, 100);
  for (long k = 0; k < fullCommitCalls && !::testing::Test::HasFailure(); ++k)
    EXPECT_EQ(CommitCutAfter(k), k) << "not cut after " << k << " calls";
}

}  // namespace
}  // namespace qel::test
