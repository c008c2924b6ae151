// One native control standing for one control model, and the row operations
// the host performs on native lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls.h"

namespace qel::win32 {

enum class NativeKind { Button, CheckBox, Label, Edit, Frame, ListBox, CheckList, ReportView };

class HostedWindow;

struct NativeControl {
  HostedWindow* owner = nullptr;
  ui::Control* model = nullptr;
  NativeKind kind = NativeKind::Label;
  HWND hwnd = nullptr;
  int id = 0;
  HBRUSH backBrush = nullptr;  // cached for WM_CTLCOLOR*
  WNDPROC baseProc = nullptr;  // lists are subclassed to see clicks
  // Rows the native list holds; hidden lists hold none until shown.
  int nativeRows = 0;
  bool rowsLoaded = false;
  // A mouse click in progress on a list, to raise Click for a click on the
  // row that is already current (the control reports no change for it).
  bool clickPending = false;
  bool clickRaised = false;
  int clickRow = -1;

  bool IsList() const {
    return kind == NativeKind::ListBox || kind == NativeKind::CheckList ||
           kind == NativeKind::ReportView;
  }
  ui::ListBox& listBox() const { return static_cast<ui::ListBox&>(*model); }
  ui::ListView& listView() const { return static_cast<ui::ListView&>(*model); }
};

// Row operations; the caller holds the host's reflect guard.
namespace rows {

// Appends model rows [nativeRows, count) in one pass.
void AppendFromModel(NativeControl& control);
void Remove(NativeControl& control, int row);
void SetText(NativeControl& control, int row);
void SetCheck(NativeControl& control, int row);
void RemoveAll(NativeControl& control);
// Makes the native current row match the model's (no-op when it does).
void SyncCurrent(NativeControl& control);
// Rebuilds the report view's columns from the model.
void SetColumns(NativeControl& control, int dpiX);
// A check list's NM_CUSTOMDRAW: each row in its model's text colour.
LRESULT CustomDraw(const NativeControl& control, LPARAM lp);
// Repaints a row whose colour changed.
void Redraw(const NativeControl& control, int row);

// Reading native state.
int NativeCurrent(const NativeControl& control);
bool NativeChecked(const NativeControl& control, int row);
std::string NativeText(const NativeControl& control, int row);
// The row under a point in client coordinates, or -1 for none.
int RowAt(const NativeControl& control, POINT client);

}  // namespace rows

}  // namespace qel::win32
