// The main window on the real registry of the test prefix, driven with window
// messages; the native controls must show the models.
// windows.h first: the platform headers undo its A/W macros after it.
#include "host_fixture.h"
// clang-format off
#include "app/form1.h"
#include "platform/win32/win32_platform.h"
// clang-format on

namespace qel::test {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunTwinKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run-";

TEST(Form1OnWine, ShowsTheScannedEntriesAndEditsThemOnScreen) {
  win32::Win32Platform platform;
  win32::Win32Host host{GetModuleHandleA(nullptr)};
  auto name = [&](const char* utf8) {
    return "QelHostTest" + platform.platform().system.ToAnsi(utf8);
  };
  const struct {
    HKEY root;
    const char* key;
    std::string name, data;
  } seeds[] = {{HKEY_LOCAL_MACHINE, kRunKey, name("输入法"), "C:\\ime.exe /start"},
               {HKEY_LOCAL_MACHINE, kRunTwinKey, name("旧"), "C:\\old.exe"},
               {HKEY_CURRENT_USER, kRunKey, name("监控"), "C:\\rs\\ravmon.exe"}};
  for (const auto& s : seeds)
    RegSetKeyValueA(s.root, s.key, s.name.c_str(), REG_SZ, s.data.c_str(),
                    DWORD(s.data.size() + 1));
  DWORD one = 1;
  // The first run opens a web site; this starts as a returning user.
  RegSetKeyValueA(HKEY_CURRENT_USER,
                  "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel",
                  "OpenMyHomePage", REG_DWORD, &one, sizeof one);

  Form1 form(platform.platform(), host);
  host.messageBoxHook = [](const std::string& text, int, const std::string&) {
    ADD_FAILURE() << "unexpected message: " << text;
    return ui::kIdOk;
  };
  host.Open(form);
  HWND list1 = host.NativeControl(form.List1), list4 = host.NativeControl(form.List4);
  HWND text2 = host.NativeControl(form.Text2);
  auto rowOf = [&](const std::string& text) {
    for (int i = 0; i < ListViewCount(list1); ++i)
      if (ListViewText(list1, i) == text) return i;
    return -1;
  };
  auto expectScreenIsModel = [&] {
    ASSERT_EQ(ListViewCount(list1), form.List1.ListCount());
    for (int i = 0; i < form.List1.ListCount(); ++i) {
      EXPECT_EQ(ListViewText(list1, i), form.List1.List(i)) << i;
      EXPECT_EQ(ListViewChecked(list1, i), form.List1.Selected(i)) << i;
      EXPECT_EQ(ListBoxText(list4, i), form.List4.List(i)) << i;
    }
  };
  for (const auto& s : seeds) EXPECT_GE(rowOf(s.name), 0) << s.name;
  expectScreenIsModel();

  ListViewSetState(list1, rowOf(name("旧")), LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(TextOf(text2), "C:\\old.exe");
  SendMessageA(text2, EM_SETSEL, 0, -1);
  SendMessageA(text2, EM_REPLACESEL, TRUE, LPARAM("D:\\new.exe"));
  EXPECT_EQ(ListBoxText(list4, rowOf(name("旧"))), "D:\\new.exe");
  ListViewSetState(list1, rowOf(name("输入法")), INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  ListViewSetState(list1, rowOf(name("监控")), LVIS_SELECTED, LVIS_SELECTED);
  SendMessageA(host.NativeControl(form.Command1), BM_CLICK, 0, 0);
  EXPECT_EQ(rowOf(name("监控")), -1);
  expectScreenIsModel();
  host.Close(form);  // closing without the confirm writes nothing: the end-to-end run checks that
  for (const auto& s : seeds) RegDeleteKeyValueA(s.root, s.key, s.name.c_str());
}

}  // namespace
}  // namespace qel::test
