// Rows of a check list drawn in their own text colour (a list view does not
// ask its parent for colours, but lets it change them row by row while it
// draws).
#include "ui/win32/host_util.h"
#include "ui/win32/native_control.h"

namespace qel::win32::rows {

LRESULT CustomDraw(const NativeControl& c, LPARAM lp) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
  if (c.kind != NativeKind::CheckList) return CDRF_DODEFAULT;
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  ui::Color color = c.listBox().RowColor(int(draw->nmcd.dwItemSpec));
  if (color.kind == ui::Color::Kind::Default) return CDRF_DODEFAULT;
  // Only the text: the check box and a selected row's highlight stay as drawn.
  draw->clrText = Resolve(color);
  return CDRF_NEWFONT;
}

void Redraw(const NativeControl& c, int row) {
  if (c.kind == NativeKind::CheckList && row >= 0 && row < c.nativeRows)
    SendMessageA(c.hwnd, LVM_REDRAWITEMS, WPARAM(row), LPARAM(row));
}

}  // namespace qel::win32::rows
