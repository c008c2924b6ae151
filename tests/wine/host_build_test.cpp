// Building a window: geometry from twips, native kinds, captions, tooltips,
// colours, fonts and tab order.
#include "host_fixture.h"

namespace qel::test {
namespace {

int Dpi(int axis) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return dpi;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

LONG_PTR StyleOf(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }

HWND TooltipOf(HWND top) {
  struct Search {
    HWND top, found;
  } search = {top, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char name[64] = {};
        GetClassNameA(hwnd, name, sizeof name);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(hwnd, GW_OWNER) == s->top) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      LPARAM(&search));
  return search.found;
}

TEST_F(HostTest, EveryControlSitsAtItsTwipsInPixelsWithFramesNested) {
  const int dpiX = Dpi(LOGPIXELSX), dpiY = Dpi(LOGPIXELSY);
  RECT client;
  GetClientRect(Top(), &client);
  EXPECT_EQ(client.right, MulDiv(window.clientWidth, dpiX, 1440));
  EXPECT_EQ(client.bottom, MulDiv(window.clientHeight, dpiY, 1440));

  for (ui::Control* c : window.controls()) {
    SCOPED_TRACE(c->name());
    HWND hwnd = Native(*c);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), Top());  // frames hold no children: notifications reach the window
    int left = c->rect().left, top = c->rect().top;
    for (ui::Control* in = c->container(); in; in = in->container()) {
      left += in->rect().left;
      top += in->rect().top;
    }
    RECT rect = RectInParent(hwnd);
    EXPECT_EQ(rect.left, MulDiv(left, dpiX, 1440));
    EXPECT_EQ(rect.top, MulDiv(top, dpiY, 1440));
    EXPECT_EQ(rect.right - rect.left, MulDiv(c->rect().width, dpiX, 1440));
    EXPECT_EQ(rect.bottom - rect.top, MulDiv(c->rect().height, dpiY, 1440));
  }
}

TEST_F(HostTest, WindowIsCentredWithAFixedBorderAndAMinimiseBox) {
  RECT rect;
  GetWindowRect(Top(), &rect);
  EXPECT_NEAR((rect.left + rect.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  LONG_PTR style = StyleOf(Top());
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(IsWindowVisible(Top()));
}

TEST_F(HostTest, EachModelKindBecomesItsNativeControl) {
  EXPECT_EQ(ClassOf(Native(window.marks)), "SysListView32");
  EXPECT_TRUE(SendMessageA(Native(window.marks), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
              LVS_EX_CHECKBOXES);
  EXPECT_TRUE(StyleOf(Native(window.marks)) & LVS_NOCOLUMNHEADER);
  EXPECT_TRUE(StyleOf(Native(window.marks)) & LVS_SINGLESEL);
  EXPECT_EQ(lstrcmpiA(ClassOf(Native(window.plain)).c_str(), "ListBox"), 0);
  EXPECT_TRUE(StyleOf(Native(window.plain)) & LBS_NOTIFY);
  EXPECT_EQ(lstrcmpiA(ClassOf(Native(window.memo)).c_str(), "Edit"), 0);
  EXPECT_TRUE(StyleOf(Native(window.memo)) & ES_MULTILINE);
  EXPECT_FALSE(StyleOf(Native(window.line)) & ES_MULTILINE);
  EXPECT_EQ(StyleOf(Native(window.check)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(StyleOf(Native(window.outer)) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(lstrcmpiA(ClassOf(Native(window.label)).c_str(), "Static"), 0);
  EXPECT_TRUE(StyleOf(Native(window.label)) & SS_NOPREFIX);
  EXPECT_EQ(ClassOf(Native(window.report)), "SysListView32");
  EXPECT_FALSE(StyleOf(Native(window.report)) & LVS_NOCOLUMNHEADER);
  EXPECT_EQ(ListViewText(Native(window.report), 1, 1), "2");
}

TEST_F(HostTest, CaptionsAreTheModelsAnsiBytes) {
  EXPECT_EQ(TextOf(Top()), window.caption());
  for (const ui::Control* c :
       std::vector<const ui::Control*>{&window.outer, &window.label, &window.check, &window.cancel,
                                       &window.memo, &window.line}) {
    SCOPED_TRACE(c->name());
    EXPECT_EQ(TextOf(Native(*c)), c->text());
  }
  EXPECT_EQ(ListViewText(Native(window.marks), 0), "alpha");
  EXPECT_EQ(ListBoxText(Native(window.plain), 3), "C:\\delta.exe");
}

TEST_F(HostTest, ControlsUseANineHundredTwipGb2312Font) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(Native(window.label), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logfont = {};
  GetObjectA(font, sizeof logfont, &logfont);
  EXPECT_EQ(logfont.lfCharSet, GB2312_CHARSET);
  EXPECT_EQ(logfont.lfHeight, -MulDiv(9, Dpi(LOGPIXELSY), 72));
}

TEST_F(HostTest, TooltipsAreRegisteredForTheControlsThatHaveOne) {
  HWND tooltip = TooltipOf(Top());
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 3);
  for (const ui::Control* c :
       std::vector<const ui::Control*>{&window.memo, &window.check, &window.ok}) {
    char text[256] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = Top();
    tool.uId = reinterpret_cast<UINT_PTR>(Native(*c));
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, 0, LPARAM(&tool));
    EXPECT_EQ(std::string(text), c->tooltip) << c->name();
  }
}

TEST_F(HostTest, ColoursComeFromTheModels) {
  HDC dc = CreateCompatibleDC(nullptr);
  LRESULT brush = SendMessageA(Top(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(Native(window.label)));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_ACTIVEBORDER));
  // Asked again, the same cached brush.
  EXPECT_EQ(SendMessageA(Top(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(Native(window.label))),
            brush);

  SendMessageA(Top(), WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(Native(window.plain)));
  EXPECT_EQ(GetTextColor(dc), RGB(128, 128, 128));
  EXPECT_EQ(GetBkColor(dc), RGB(224, 224, 224));

  // A control without colours of its own keeps the system's.
  SendMessageA(Top(), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(Native(window.line)));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
  DeleteDC(dc);
}

TEST_F(HostTest, HiddenListHoldsNoNativeRowsUntilShown) {
  HWND hidden = Native(window.hidden);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(ListViewCount(hidden), 0);
  window.hidden.AddItem("epsilon");
  EXPECT_EQ(ListViewCount(hidden), 0);

  window.hidden.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(hidden));
  ASSERT_EQ(ListViewCount(hidden), 5);
  EXPECT_EQ(ListViewText(hidden, 4), "epsilon");
  EXPECT_TRUE(ListViewChecked(hidden, 2));
  EXPECT_FALSE(ListViewChecked(hidden, 1));
  // Once shown, it follows the model row by row.
  window.hidden.RemoveItem(0);
  EXPECT_EQ(ListViewCount(hidden), 4);
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, TabWalksEnabledStopsByTabIndexStartingFromTheFirst) {
  EXPECT_EQ(GetFocus(), Native(window.ok));
  std::vector<const ui::Control*> expected = {&window.marks,  &window.plain, &window.line,
                                              &window.memo,   &window.check, &window.cancel,
                                              &window.report, &window.ok};  // "off" is disabled
  HWND at = Native(window.ok);
  for (const ui::Control* c : expected) {
    at = GetNextDlgTabItem(Top(), at, FALSE);
    EXPECT_EQ(at, Native(*c)) << "expected " << c->name();
  }
  EXPECT_EQ(GetNextDlgTabItem(Top(), Native(window.ok), TRUE), Native(window.report));
}

}  // namespace
}  // namespace qel::test
