// The main window on the real registry and Startup folder of the test prefix,
// driven with window messages; the native controls must show the models.
// windows.h first: the platform headers undo its A/W macros after it.
#include "host_fixture.h"

#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "platform/win32/win32_platform.h"
#include "startup/catalogue.h"
#include "ui/win32/win32_host.h"

namespace qel::test {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunTwinKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run-";
constexpr char kPanelKey[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
constexpr char kTestPrefix[] = "QelHostTest";

// Every value of every key a startup source reads or writes, as "root\key\name=type:data".
std::vector<std::string> DumpStartupKeys() {
  std::vector<std::string> dump;
  const StartupSource* sources = StartupSources();
  for (int s = 0; s < kSourceCount; ++s) {
    if (sources[s].kind != PlaceKind::RegistryKey) continue;
    for (bool enabled : {true, false}) {
      std::string path = KeyPath(sources[s].scanPath, enabled);
      HKEY key;
      if (RegOpenKeyExA(HKEY(sources[s].root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        continue;
      for (DWORD i = 0;; ++i) {
        char name[512];
        BYTE data[4096];
        DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS)
          break;
        dump.push_back(std::to_string(sources[s].root) + "\\" + path + "\\" + name + "=" +
                       std::to_string(type) + ":" +
                       std::string(reinterpret_cast<char*>(data), dataLength));
      }
      RegCloseKey(key);
    }
  }
  return dump;
}

const struct {
  RegKey root;
  const char* path;
  const char* name;
  const char* data;
} kSeeds[] = {
    {kHkeyLocalMachine, kRunKey, "输入法", "C:\\ime.exe /start"},
    {kHkeyLocalMachine, kRunTwinKey, "旧", "C:\\old.exe"},
    {kHkeyCurrentUser, kRunKey, "监控", "C:\\Program Files\\rs\\ravmon.exe"},
};

class Form1OnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    RegGetValueA(HKEY_CURRENT_USER, kShellFoldersKey, kStartupValue, RRF_RT_REG_SZ, nullptr, folder, &size);
    startupFile_ = folder + ("\\" + Name("启动") + ".lnk");
    RemoveSeeds();
    // The first run opens a web site; these tests start as a returning user.
    DWORD one = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, kPanelKey, "OpenMyHomePage", REG_DWORD, &one, sizeof one);
    for (const auto& seed : kSeeds) {
      const std::string data = seed.data;
      RegSetKeyValueA(HKEY(seed.root), seed.path, Name(seed.name).c_str(), REG_SZ, data.c_str(), DWORD(data.size() + 1));
    }
    ASSERT_EQ(files().WriteFile(startupFile_, "shortcut"), kOk) << startupFile_;
    before_ = DumpStartupKeys();

    form_ = std::make_unique<Form1>(platform_.platform(), host_);
    host_.messageBoxHook = [this](const std::string& text, int, const std::string& title) {
      shown_.push_back(title + "|" + text);
      return ui::kIdOk;
    };
    host_.Open(*form_);
    host_.DoEvents();
  }

  void TearDown() override {
    if (form_) host_.Close(*form_);
    host_.DoEvents();
    RemoveSeeds();
  }

  void RemoveSeeds() {
    for (const auto& seed : kSeeds)
      for (const char* path : {kRunKey, kRunTwinKey}) RegDeleteKeyValueA(HKEY(seed.root), path, Name(seed.name).c_str());
    files().DeleteFile(startupFile_);
  }

  std::string Ansi(const char* utf8) { return platform_.platform().system.ToAnsi(utf8); }
  std::string Name(const char* utf8) { return kTestPrefix + Ansi(utf8); }
  FileSystemApi& files() { return platform_.platform().files; }

  HWND Native(const ui::Control& control) { return host_.NativeControl(control); }
  int RowOf(const std::string& name) {
    for (int i = 0; i < form_->List1.ListCount(); ++i)
      if (form_->List1.List(i) == name) return i;
    return -1;
  }
  void Select(int row) {
    ListViewSetState(Native(form_->List1), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  // Every row of List1 and List4 on screen is the model's row.
  void ExpectListsMatchModels() {
    HWND list1 = Native(form_->List1), list4 = Native(form_->List4);
    ASSERT_EQ(SendMessageA(list1, LVM_GETITEMCOUNT, 0, 0), form_->List1.ListCount());
    ASSERT_EQ(SendMessageA(list4, LB_GETCOUNT, 0, 0), form_->List4.ListCount());
    for (int i = 0; i < form_->List1.ListCount(); ++i) {
      EXPECT_EQ(ListViewText(list1, i), form_->List1.List(i)) << i;
      EXPECT_EQ(ListViewChecked(list1, i), form_->List1.Selected(i)) << i;
      EXPECT_EQ(ListBoxText(list4, i), form_->List4.List(i)) << i;
    }
  }

  win32::Win32Platform platform_;
  win32::Win32Host host_{GetModuleHandleA(nullptr)};
  std::unique_ptr<Form1> form_;
  std::vector<std::string> shown_;
  std::vector<std::string> before_;
  std::string startupFile_;
};

TEST_F(Form1OnWine, LoadShowsTheScannedEntriesWithTheirMarks) {
  EXPECT_EQ(TextOf(host_.NativeWindow(*form_)), form_->caption());
  for (const char* name : {"输入法", "监控", "启动"}) ASSERT_GE(RowOf(Name(name)), 0) << name;
  int disabled = RowOf(Name("旧"));
  ASSERT_GE(disabled, 0);
  EXPECT_FALSE(ListViewChecked(Native(form_->List1), disabled));
  ExpectListsMatchModels();
  EXPECT_EQ(TextOf(Native(form_->Text1)), form_->Text1.text());
  EXPECT_EQ(SendMessageA(Native(form_->Checkregedit), BM_GETCHECK, 0, 0),
            form_->Checkregedit.value());
}

TEST_F(Form1OnWine, SelectingARowFillsTheDetailPanel) {
  int row = RowOf(Name("旧"));
  Select(row);
  EXPECT_EQ(form_->List1.ListIndex(), row);
  EXPECT_EQ(TextOf(Native(form_->Text2)), "C:\\old.exe");
  EXPECT_EQ(TextOf(Native(form_->text2text)),
            Ansi("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-"));
  EXPECT_TRUE(IsWindowEnabled(Native(form_->Text2)));
  EXPECT_TRUE(IsWindowEnabled(Native(form_->Command1)));

  Select(RowOf(Name("启动")));  // a Startup-folder file cannot be edited
  EXPECT_FALSE(IsWindowEnabled(Native(form_->Text2)));
  EXPECT_EQ(TextOf(Native(form_->text2text)), Ansi("开始菜单－程序－启动(删除后不可恢复)"));

  // Unchecking a row makes it current and shows its disabled place.
  row = RowOf(Name("输入法"));
  ListViewSetState(Native(form_->List1), row, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  EXPECT_FALSE(form_->List1.Selected(row));
  EXPECT_EQ(form_->List1.ListIndex(), row);
  EXPECT_EQ(TextOf(Native(form_->text2text)),
            Ansi("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-"));
  ExpectListsMatchModels();
}

TEST_F(Form1OnWine, TypingRewritesTheCommandLineRowAndDeleteRemovesTheRowEverywhere) {
  int row = RowOf(Name("监控"));
  const int count = form_->List1.ListCount();
  Select(row);
  HWND text2 = Native(form_->Text2);
  SendMessageA(text2, EM_SETSEL, 0, -1);
  SendMessageA(text2, EM_REPLACESEL, TRUE, LPARAM("D:\\new.exe"));
  EXPECT_EQ(form_->List4.List(row), "D:\\new.exe");
  EXPECT_EQ(form_->List1.List(row), Name("监控"));
  ExpectListsMatchModels();

  SendMessageA(Native(form_->Command1), BM_CLICK, 0, 0);
  EXPECT_EQ(form_->List1.ListCount(), count - 1);
  EXPECT_EQ(RowOf(Name("监控")), -1);
  EXPECT_FALSE(IsWindowEnabled(Native(form_->Command1)));
  EXPECT_EQ(TextOf(text2), "");
  ExpectListsMatchModels();
}

TEST_F(Form1OnWine, ClickingList4OnlyShowsTheHint) {
  HWND list4 = Native(form_->List4);
  RECT rect = {};
  SendMessageA(list4, LB_GETITEMRECT, 0, LPARAM(&rect));
  Click(list4, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0], Ansi("提示|请点击左侧窗口"));
  ExpectListsMatchModels();
}

TEST_F(Form1OnWine, CancelAndTheCloseBoxCloseTheWindowWritingNothing) {
  for (bool closeBox : {false, true}) {
    if (closeBox) {
      form_ = std::make_unique<Form1>(platform_.platform(), host_);
      host_.Open(*form_);
    }
    ListViewSetState(Native(form_->List1), RowOf(Name("输入法")), INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    Select(RowOf(Name("监控")));
    SendMessageA(Native(form_->Command1), BM_CLICK, 0, 0);
    HWND top = host_.NativeWindow(*form_);
    SendMessageA(closeBox ? top : Native(form_->Command4), closeBox ? WM_CLOSE : BM_CLICK, 0, 0);
    host_.DoEvents();
    EXPECT_FALSE(IsWindow(top)) << closeBox;
    EXPECT_EQ(DumpStartupKeys(), before_) << closeBox;
    EXPECT_TRUE(files().Exists(startupFile_));
  }
}

}  // namespace
}  // namespace qel::test
