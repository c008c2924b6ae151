// The main window on a memory machine: the start page and locks it reads and
// writes, and the two browser repairs (delete and cancel are driven on Wine).
#include <cctype>
#include <map>

#include "app/web_site.h"
#include "app/web_site_config.h"
#include "startup/catalogue.h"
#include "support/window_fixture.h"

namespace qel::test {
namespace {

TEST_F(Form1Test, StartPageAndLocksAreReadAndWrittenBack) {
  machine.registry.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", G("http://主页/"));
  // A lock is on only when it holds one, as a DWORD or as text set by hand.
  machine.registry.PutDword(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", 2);
  machine.registry.PutString(kHkeyCurrentUser, kControlPanel, "HomePage", "1");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoClose", 1);
  Load();
  EXPECT_EQ(form->Text1.text() + "|" + std::to_string(form->Checkregedit.value() * 10 + form->Checkhomepage.value()),
            G("http://主页/") + "|1");
  form->Text1.SetText("");
  form->Command2_Click();
  EXPECT_FALSE(machine.registry.Get(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", nullptr, nullptr));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kControlPanel, "HomePage", kRegDword, std::string("\1\0\0\0", 4)));
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
    EXPECT_TRUE(HasValue(machine.registry, root, kBrowserMain, "start page", kRegSz, Sz("about:blank")));
  EXPECT_EQ(machine.registry.ValueNames(kHkeyCurrentUser, kExplorerPolicies).size(), 0u);
  // A page that is there but cannot be read is kept, unless the user typed one.
  for (const char* typed : {"", "http://new/"}) {
    machine.registry.Put(kHkeyCurrentUser, kBrowserMain, "Start Page", kRegBinary, "12345678");
    Load();
    form->Text1.SetText(typed);
    form->Command2_Click();
    EXPECT_TRUE(*typed ? HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegSz, Sz(typed))
                       : HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegBinary, "12345678"));
  }
}

TEST_F(Form1Test, BrowserRepairsSayWhetherTheUsersKeysWereMended) {
  form = std::make_unique<Form1>(machine.platform, host);
  std::vector<bool> mended;
  machine.registry.DenyWrite(kHkeyLocalMachine, kBrowserMain, true);
  form->Command7_Click();  // the user's title is what counts
  mended.push_back(HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "Window Title",
                            kRegSz, Sz("Microsoft Internet Explorer")));
  machine.registry.DeleteKey(kHkeyCurrentUser, kBrowserMain);
  machine.registry.DenyWrite(kHkeyCurrentUser, kBrowserMain, true);
  form->Command7_Click();
  form->Command8_Click();  // nothing typed: nothing to clear
  for (bool withSubkey : {false, true}) {
    machine.registry.PutString(kHkeyCurrentUser, kTypedUrls, "url1", "http://bad/");
    if (withSubkey) machine.registry.PutString(kHkeyCurrentUser, std::string(kTypedUrls) + "\\sub", "", "");
    form->Command8_Click();
    mended.push_back(machine.registry.ValueNames(kHkeyCurrentUser, kTypedUrls).empty());
  }
  std::string told;
  for (const std::string& box : host.boxes) told += box + "|";
  EXPECT_EQ(mended, std::vector<bool>({true, true, false}));
  EXPECT_EQ(told, G("IE标题恢复成功！|恢复IE标题失败：拒绝访问（错误 5）|地址栏网址已被清除!|"
                    "地址栏网址已被清除!|清除地址栏网址失败：拒绝访问（错误 5）|"));
}

// The first run opens the site unless the mark holds exactly one, and leaves one there; the
// site is what the build was configured to open, the shipped page beside the program by default.
TEST_F(Form1Test, TheFirstRunOpensTheSiteUnlessTheMarkHoldsOne) {
  const std::string page = *QELMORA_WEB_SITE ? G(QELMORA_WEB_SITE) : "C:\\Program Files\\Qelmora\\" + G("说明.htm");
  auto& opened = machine.memory.system.opened;
  struct Case { int mark; std::size_t opened; } cases[] = {{-1, 1}, {0, 1}, {2, 1}, {1, 0}};
  for (const Case& c : cases) {
    machine.registry.DeleteKey(kHkeyCurrentUser, kControlPanel);
    if (c.mark >= 0) machine.registry.PutDword(kHkeyCurrentUser, kControlPanel, "OpenMyHomePage", c.mark);
    opened.clear();
    Load();
    EXPECT_EQ(opened, std::vector<std::string>(c.opened, page)) << c.mark;
    EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kControlPanel, "OpenMyHomePage", kRegDword,
                         std::string("\1\0\0\0", 4)));
  }
  if (!WebSiteIsShippedPage()) return;  // a configured site is not looked for
  machine.files.DeleteFile(page);
  form->Command11_Click();  // without the page nothing opens, and the user is told
  EXPECT_EQ(std::to_string(opened.size()) + LastMessage(), "0" + G("找不到说明页：") + page);
}

// Cancel writes nothing: not the entries, the switches, the start page nor the policies.
TEST_F(Form1Test, CancelLeavesEveryPlaceAndPolicyAsItWas) {
  machine.registry.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  machine.registry.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", "http://old/");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  machine.profile.Put("windows", "load", "b.exe");
  auto state = [&] {
    std::string out = machine.Places(), bytes;
    for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
      for (const char* key : {kSystemPolicies, kExplorerPolicies, kControlPanel, kBrowserMain})
        for (const std::string& name : machine.registry.ValueNames(root, key))
          out += name + (machine.registry.Get(root, key, name, nullptr, &bytes), bytes) + "\n";
    return out;
  };
  Load();
  const std::string before = state();
  form->List1.SetSelected(0, false);
  form->Checkregedit.SetValue(1);
  form->Checkhomepage.SetValue(1);
  form->Text1.SetText("http://new/");
  Click(1);
  form->Command1_Click();
  form->Command4_Click();
  EXPECT_EQ(before, state());
}

// Every tag of the catalogue, spelt exactly, shows its place's text for a checked and an
// unchecked row; a tag in other case shows none, leaving the text of the row before. Today's
// thirteen say what they must.
TEST_F(Form1Test, EveryTagShowsItsLocationTextsAndOnlyWhenSpeltExactly) {
  const std::string lm = "HKEY_LOCAL_MACHINE\\", cu = "HKEY_CURRENT_USER\\",
                    low = "Software\\Microsoft\\Windows\\CurrentVersion\\", up = "SOFTWARE" + low.substr(8);
  const std::map<std::string, std::string> today = {
      {"reg", lm + low + "Run"}, {"regs", lm + low + "RunServices"}, {"reg2", cu + low + "Run"},
      {"reg2s", cu + low + "RunServices"}, {"HKLMrunonce", lm + up + "RunOnce"}, {"HKCUrunonce", cu + up + "RunOnce"},
      {"HKLMRunServicesOnce", lm + up + "RunServicesOnce"}, {"HKCURunServicesOnce", cu + up + "RunServicesOnce"},
      {"HKLMRunOnceEx", lm + up + "RunOnceEx"}, {"HKCURunOnceEx", cu + up + "RunOnceEx"},
      {"run", G("Win.ini文件的run项|Win.ini文件的norun项")}, {"load", G("Win.ini文件的load项|Win.ini文件的noload项")},
      {"startup", G("开始菜单－程序－启动(删除后不可恢复)|注意：不可恢复")}};
  std::vector<StartupEntry> rows;
  std::vector<std::string> expected, shown;
  for (int s = 0; s < kSourceCount; ++s) {
    const StartupSource& source = StartupSources()[s];
    const std::string both = G(source.enabledLocation) + "|" + G(source.disabledLocation), tag = source.tag;
    if (today.count(tag)) {
      const std::string& texts = today.at(tag);
      EXPECT_EQ(both, texts.find('|') != std::string::npos ? texts : texts + "|" + texts + "-");
    }
    std::string upper = tag;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    for (bool enabled : {true, false})
      for (const std::string& spelt : {tag, upper}) {
        rows.push_back({"n", (spelt == tag) == enabled, "c.exe", spelt});  // misspelt: the other mark
        expected.push_back(G(LocationText(source, enabled, 0)));  // a 32-bit Windows: one view
      }
  }
  EXPECT_EQ(today.size(), 13u);
  Load();
  form->entries().ReplaceAll(rows);
  for (int i = 0; i < form->List1.ListCount(); ++i) Click(i), shown.push_back(form->text2text.text());
  EXPECT_EQ(expected, shown);
}

// A list's current row follows its row when a row above it goes; none is current once the
// row itself goes or the list is cleared.
TEST(ListModels, TheCurrentRowFollowsItsRowAndGoesWithItOrWithAClear) {
  ui::Window window("w");
  ui::ListBox box(window, "box", nullptr, {});
  ui::ListView view(window, "view", nullptr, {});
  std::string trace;
  for (const char* row : {"a", "b", "c", "d"}) box.AddItem(row), view.AddRow({row});
  box.SetListIndex(2), view.SetListIndex(2);
  for (int removed : {0, 2, 1, -2}) {  // above, below, itself; -2: set row 0, then clear
    if (removed < 0) box.SetListIndex(0), view.SetListIndex(0), box.Clear(), view.Clear();
    box.RemoveItem(removed), view.RemoveRow(removed);
    trace += std::to_string(box.ListIndex()) + std::to_string(view.ListIndex()) + "|";
  }
  EXPECT_EQ(trace, "11|11|-1-1|-1-1|");
}

}  // namespace
}  // namespace qel::test
