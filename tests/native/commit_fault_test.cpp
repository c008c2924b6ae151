// A commit cut short after any platform call (a power cut, a crash) loses no
// entry: every row still in the list is in its old place or its new one.
#include <gtest/gtest.h>

#include "startup/catalogue.h"
#include "support/form1_fixture.h"

namespace qel::test {
namespace {

// Every source, checked and unchecked, a name in both a key and its twin, a
// deleted row, a moved row, an edited row and a value that is never listed.
void SeedRichMachine(StartupMachine& m) {
  const StartupSource* sources = StartupSources();
  for (int s = 0; s < kSourceCount; ++s) {
    if (sources[s].kind != PlaceKind::RegistryKey) continue;
    for (bool enabled : {true, false}) {
      std::string key = KeyPath(sources[s].writePath, enabled);
      m.PutString(sources[s].root, key, std::string(sources[s].tag) + (enabled ? "-on" : "-off"),
                  std::string("c:\\") + sources[s].tag + ".exe");
    }
  }
  m.PutString(kHkeyLocalMachine, kRun, "Foo", "foo-on.exe");
  m.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "foo-off.exe");
  m.PutString(kHkeyCurrentUser, kRun, "Swap", "swap-on.exe");
  m.PutString(kHkeyCurrentUser, std::string(kRun) + "-", "Swap", "swap-off.exe");
  m.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\e.exe", kRegExpandSz);
  m.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Flags", 32);
  m.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  m.profile.Put("windows", "load", "l.exe");
  m.profile.Put("windows", "noload", "nl.exe");
  m.profile.Put("windows", "norun", "nr.exe");
  m.AddStartupFile("shown.lnk");
  m.AddStartupFile("hidden.lnk", kAttrHidden);
  m.AddStartupFile("doomed.lnk");
}

void ChangeRows(Form1& form) {
  auto row = [&](const std::string& name) {
    for (int i = 0; i < form.List1.ListCount(); ++i)
      if (form.List1.List(i) == name) return i;
    return -1;
  };
  form.List1.SetSelected(row("reg-on"), false);     // moved to the twin
  form.List1.SetSelected(row("reg2-off"), true);    // moved out of the twin
  form.List1.SetSelected(row("hidden"), true);
  form.List1.SetSelected(row("l.exe"), false);      // load and noload trade places
  form.List1.SetSelected(row("nl.exe"), true);
  for (int i = 0; i < form.List1.ListCount(); ++i)  // Swap and Swap trade places
    if (form.List1.List(i) == "Swap") form.List1.SetSelected(i, !form.List1.Selected(i));
  form.List1.SetListIndex(row("exp"));
  form.List1_Click();
  form.Text2.SetText("%windir%\\edited.exe");        // edited in place
  form.List1.SetListIndex(row("regs-on"));
  form.List1_Click();
  form.Command1_Click();                              // deleted
  form.List1.SetListIndex(row("doomed"));
  form.List1_Click();
  form.Command1_Click();
}

std::vector<StartupEntry> Rows(Form1& form) {
  std::vector<StartupEntry> rows;
  for (int i = 0; i < form.entries().Count(); ++i) rows.push_back(form.entries().Row(i));
  return rows;
}

// Whether entry's text stands under a spare name a commit copies a text to
// when two rows trade places.
bool IsSetAside(StartupMachine& m, const StartupEntry& entry) {
  const StartupSource* source = FindSource(entry.tag);
  std::vector<std::string> names = {entry.name + " (backup)"};
  if (source->kind == PlaceKind::WinIni) {
    source = FindSource("reg2");
    names = {"win.ini load (backup)", "win.ini noload (backup)", "win.ini run (backup)",
             "win.ini norun (backup)"};
  }
  for (const std::string& name : names) {
    std::uint32_t type = 0;
    std::string bytes;
    if (m.registry.Get(source->root, KeyPath(source->writePath, false), name, &type, &bytes) &&
        TextOfStringBytes(bytes) == entry.commandLine)
      return true;
  }
  return false;
}

// Whether entry's text stands in the place its tag and mark name.
bool IsInPlace(StartupMachine& m, const StartupEntry& entry) {
  const StartupSource* source = FindSource(entry.tag);
  if (source->kind == PlaceKind::WinIni) {
    std::string text;
    return m.profile.Get("windows", entry.enabled ? source->iniKey : source->iniDisabledKey, &text) &&
           text == entry.commandLine;
  }
  if (source->kind == PlaceKind::StartupFolder) return m.files.Exists(entry.commandLine);
  Module1 registry(m.platform.registry);
  RegValue value;
  return registry.ReadRegValue(source->root, KeyPath(source->writePath, entry.enabled), entry.name,
                               &value) == kOk &&
         !value.empty() && value.TextForm() == entry.commandLine;
}

TEST(CommitFaultTest, NoRowIsLostWhereverTheCommitStops) {
  long fullCommitCalls = 0;
  {
    StartupMachine m;
    SeedRichMachine(m);
    RecordingHost host;
    Form1 form(m.platform, host);
    form.Form_Load();
    ChangeRows(form);
    long before = m.memory.CallCount();
    form.Command2_Click();
    fullCommitCalls = m.memory.CallCount() - before;
    ASSERT_TRUE(host.ended);
    // The full commit reaches the end state.
    for (const StartupEntry& row : Rows(form)) EXPECT_TRUE(IsInPlace(m, row)) << row.name;
  }
  ASSERT_GT(fullCommitCalls, 100);

  for (long k = 0; k <= fullCommitCalls; ++k) {
    StartupMachine m;
    SeedRichMachine(m);
    RecordingHost host;
    Form1 form(m.platform, host);
    form.Form_Load();
    const std::vector<StartupEntry> scanned = Rows(form);
    ChangeRows(form);
    const std::vector<StartupEntry> wanted = Rows(form);
    m.memory.SetCallBudget(k);
    bool cut = false;
    try {
      form.Command2_Click();
    } catch (const mem::PowerCut&) {
      cut = true;
    }
    m.memory.SetCallBudget(-1);
    EXPECT_EQ(cut, k < fullCommitCalls) << "after " << k << " calls";
    // Rows still listed: the scanned copy (old place, old text) or the wanted
    // one (new place, new text) is on the machine.
    for (const StartupEntry& row : wanted) {
      bool found = IsInPlace(m, row) || IsSetAside(m, row);
      for (const StartupEntry& old : scanned)
        if (!found && old.tag == row.tag && old.name == row.name)
          found = IsInPlace(m, old) || IsSetAside(m, old);
      EXPECT_TRUE(found) << "row " << row.name << " lost after " << k << " calls";
    }
    std::uint32_t type = 0;
    std::string bytes;
    EXPECT_TRUE(m.registry.Get(kHkeyLocalMachine, kRun, "multi", &type, &bytes));
    // A finished commit leaves no spare copy behind.
    if (!cut) {
      EXPECT_FALSE(m.registry.HasValue(kHkeyCurrentUser, std::string(kRun) + "-", "Swap (backup)"));
    }
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace qel::test
