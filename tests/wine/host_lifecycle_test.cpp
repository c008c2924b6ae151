// Loading, closing, unloading from a handler, modal windows, message boxes.
#include "host_fixture.h"

namespace qel::test {
namespace {

TEST_F(HostTest, CloseBoxRunsFormUnloadOnceAndTheWindowGoes) {
  HWND top = Top();
  EXPECT_EQ(window.loads, 1);
  SendMessageA(top, WM_CLOSE, 0, 0);
  EXPECT_EQ(window.unloads, 1);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(host.NativeWindow(window), nullptr);
  host.Close(window);  // nothing left to close
  EXPECT_EQ(window.unloads, 1);
  // The model lives on and no longer reports to a window.
  window.marks.AddItem("after");
  EXPECT_EQ(window.marks.ListCount(), 5);
}

TEST_F(HostTest, AHandlerMayUnloadItsOwnWindowAndAnUnloadWithinFormUnloadIsIgnored) {
  HWND top = Top();
  window.onUnload = [this] { host.Unload(window); };
  window.cancel.Click = [this] {
    host.Unload(window);
    window.label.SetText("after unload");  // no window to reflect on any more
  };
  SendMessageA(Native(window.cancel), BM_CLICK, 0, 0);
  host.DoEvents();
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(window.unloads, 1);
}

TEST(HostLoad, FormLoadRunsWithControlsBuiltBeforeTheWindowShows) {
  win32::Win32Host host(GetModuleHandleA(nullptr));
  HostTestWindow window;
  bool visibleDuringLoad = true;
  HWND listDuringLoad = nullptr;
  window.onLoad = [&] {
    visibleDuringLoad = IsWindowVisible(host.NativeWindow(window));
    listDuringLoad = host.NativeControl(window.marks);
  };
  host.Open(window);
  EXPECT_FALSE(visibleDuringLoad);
  EXPECT_NE(listDuringLoad, nullptr);
  // What Form_Load put into the models is on screen, and raised nothing.
  EXPECT_EQ(ListViewCount(listDuringLoad), 4);
  EXPECT_TRUE(ListViewChecked(listDuringLoad, 1));
  EXPECT_EQ(window.TotalEvents(), 0);
  EXPECT_TRUE(IsWindowVisible(host.NativeWindow(window)));
  host.Close(window);
}

TEST(HostLoad, AWindowUnloadedDuringFormLoadIsNeverShown) {
  win32::Win32Host host(GetModuleHandleA(nullptr));
  HostTestWindow window;
  window.onLoad = [&] { host.Unload(window); };
  host.Open(window);
  EXPECT_EQ(window.unloads, 1);
  EXPECT_EQ(host.NativeWindow(window), nullptr);
}

class ModalDialog : public ui::Window {
 public:
  explicit ModalDialog(win32::Win32Host& host) : ui::Window("Dialog"), host_(host) {
    clientWidth = 3000;
    clientHeight = 1500;
  }
  void Form_Load() override {
    ++loads;
    ownerEnabledWhileOpen = IsWindowEnabled(owner);
    // Closed from the queue, as a user would, so that the modal loop runs.
    PostMessageA(HWND(host_.NativeHandle(*this)), WM_CLOSE, 0, 0);
  }
  void Form_Unload() override { ++unloads; }

  ui::Button button{*this, "Button", nullptr, {120, 120, 975, 375}};
  HWND owner = nullptr;
  bool ownerEnabledWhileOpen = true;
  int loads = 0, unloads = 0;

 private:
  win32::Win32Host& host_;
};

TEST_F(HostTest, ModalWindowDisablesItsOwnerUntilItCloses) {
  ModalDialog dialog(host);
  dialog.owner = Top();
  bool returned = false;
  window.ok.Click = [&] {
    host.ShowModal(dialog);
    returned = true;
  };
  SendMessageA(Native(window.ok), BM_CLICK, 0, 0);
  EXPECT_TRUE(returned);
  EXPECT_EQ(dialog.loads, 1);
  EXPECT_EQ(dialog.unloads, 1);
  EXPECT_FALSE(dialog.ownerEnabledWhileOpen);
  EXPECT_TRUE(IsWindowEnabled(Top()));
  EXPECT_EQ(host.NativeWindow(dialog), nullptr);
  // Shown again, it is built afresh.
  SendMessageA(Native(window.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.loads, 2);
}

}  // namespace
}  // namespace qel::test
