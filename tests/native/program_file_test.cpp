// Which program a row starts, read from its text as Windows reads it, and
// whether that file is gone; then the red rows and the detail panel's note.
#include "startup/program_file.h"
#include "support/window_fixture.h"

namespace qel::test {
namespace {

constexpr char kApp[] = "C:\\Program Files\\App\\app.exe";

class ProgramFileTest : public Form1Test {
 protected:
  ProgramFileTest() {
    for (const char* file : {"C:\\WINDOWS\\SYSTEM\\rundll32.exe", "C:\\WINDOWS\\SYSTEM\\shell32.dll",
                             "C:\\WINDOWS\\SYSTEM\\ctfmon.exe", "C:\\WINDOWS\\notepad.exe", kApp})
      machine.files.AddFile(file, "MZ");
  }
  std::string Red() const {  // the red rows' names, each followed by a comma
    std::string red;
    for (int i = 0; i < form->List1.ListCount(); ++i)
      if (IsMissingProgramRow(form->List1, i)) red += form->List1.List(i) + ",";
    return red;
  }
};

TEST_F(ProgramFileTest, ACommandLineNamesTheProgramWindowsWouldStartAndOnlyAKnownAbsenceIsMissing) {
  const auto R = PlaceKind::RegistryKey, I = PlaceKind::WinIni, S = PlaceKind::StartupFolder;
  for (const char* name : {"gone.lnk", "odd.lnk"}) machine.AddStartupFile(name);
  auto& links = machine.memory.programs.shortcuts;  // odd.lnk: the shell cannot read it
  links[mem::MemoryPrograms::Upper(machine.StartupPath("gone.lnk"))] = "%ProgramFiles%\\Gone\\g.exe";
  const struct { PlaceKind kind; std::string line; const char* extraFile; std::string found; } cases[] = {
      {R, "\"C:\\Program Files\\App\\app.exe\" -x", "", std::string(kApp) + "|0"},
      {R, "\"C:\\Program Files\\Gone\\app.exe\" -x", "", "C:\\Program Files\\Gone\\app.exe|1"},
      // Unquoted: the shortest text up to a blank that names a program file, else the first word.
      {R, "C:\\Program Files\\App\\app.exe -x", "", std::string(kApp) + "|0"},
      {R, "C:\\Program Files\\App\\app.exe -x", "C:\\Program.exe", "C:\\Program.exe|0"},
      {R, "C:\\Program Files\\Gone\\app.exe -x", "", "C:\\Program.exe|1"},
      {R, "C:\\Program Files\\App\\app.exe.txt /x", "C:\\Program Files\\App\\app.exe.txt", "C:\\Program.exe|1"},
      {R, "  %SystemRoot%\\notepad.exe  ", "", "C:\\WINDOWS\\notepad.exe|0"},
      {R, "%ProgramFiles%\\Gone\\x.exe /s", "", "C:\\Program.exe|1"},  // unquoted once expanded
      {R, "%NOTSET%\\x.exe", "", "%NOTSET%\\x.exe|0"},
      // A bare name is searched for, with .exe added when it has no extension.
      {R, "CTFMON", "", "C:\\WINDOWS\\SYSTEM\\CTFMON.exe|0"},
      {R, "gone /s %1", "", "gone.exe|1"},
      // rundll32 needs its DLL.
      {R, "rundll32.exe shell32.dll,Control_RunDLL", "", "C:\\WINDOWS\\SYSTEM\\shell32.dll|0"},
      {R, "RUNDLL32 C:\\Program Files\\Gone\\x.dll,Start a", "", "C:\\Program Files\\Gone\\x.dll|1"},
      {R, "rundll32.exe \"C:\\Gone\\y\",Start", "", "C:\\Gone\\y.dll|1"},
      // What cannot be known is never missing: the network, drives that are no fixed disk.
      {R, "\\\\server\\share\\app.exe -x", "", "\\\\server\\share\\app.exe|0"},
      {R, "A:\\setup.exe", "", "A:\\setup.exe|0"},
      {R, "-1", "", "|0"},  // an integer value is a setting
      {I, "notepad.exe, ctfmon gone.exe", "", "gone.exe|1"},  // every name of the line
      // The Startup folder: a file is there; a shortcut needs its target.
      {S, machine.StartupPath("gone.lnk"), "", "C:\\Program Files\\Gone\\g.exe|1"},
      {S, machine.StartupPath("gone.lnk"), "C:\\Program Files\\Gone\\g.exe", "C:\\Program Files\\Gone\\g.exe|0"},
      {S, machine.StartupPath("odd.lnk"), "", "|0"},
  };
  for (const auto& c : cases) {
    if (*c.extraFile) machine.files.AddFile(c.extraFile, "MZ");
    ProgramFinder finder(machine.platform);
    bool missing = false;
    const std::string program = finder.Check(c.kind, c.line, &missing);
    EXPECT_EQ(program + "|" + "01"[missing], c.found) << c.line << " with " << c.extraFile;
    if (*c.extraFile) machine.files.DeleteFile(c.extraFile);
  }
  // No "no disk" box: every look-up ran with critical errors failed, and the mode goes back.
  EXPECT_EQ(machine.memory.programs.modesSeen, std::set<std::uint32_t>({kSemFailCriticalErrors}));
  EXPECT_EQ(machine.memory.programs.errorMode, 0u);
}

TEST_F(ProgramFileTest, MissingRowsAreRedAndSaySoWhenSelectedAndEditingOrRestoringChecksAgain) {
  machine.registry.PutString(kHkeyLocalMachine, kRun, "gone", "\"C:\\Program Files\\App\\a.exe\" -x");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "app", kApp);
  machine.registry.PutString(kHkeyCurrentUser, kRunTwin, "off", "gone2.exe");  // disabled too
  machine.profile.Put("windows", "load", "notepad gone3");
  Load();
  EXPECT_EQ(Red(), "gone,off,notepad gone3,");
  const std::string run = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string note = G("（找不到程序文件）");
  Click(RowOf("gone"));
  EXPECT_EQ(form->text2text.text(), run + note);
  Click(RowOf("app"));
  form->Text2.SetText("C:\\Gone\\b.exe");  // editing re-checks the row; the panel follows
  EXPECT_EQ(Red() + form->text2text.text(), "gone,app,off,notepad gone3," + run + note);
  form->Text2.SetText("notepad.exe");
  EXPECT_EQ(Red() + form->text2text.text(), "gone,off,notepad gone3," + run);
  Click(RowOf("gone"));
  form->Command1_Click();  // the marks stay with their rows when one goes
  EXPECT_EQ(Red(), "off,notepad gone3,");
  form->Command3_Click();  // a restored list is checked afresh
  machine.files.AddFile("C:\\WINDOWS\\gone3.exe", "MZ");
  form->Command6_Click();
  EXPECT_EQ(Red() + std::to_string(form->List1.ListCount()), "off,3");
}

}  // namespace
}  // namespace qel::test
