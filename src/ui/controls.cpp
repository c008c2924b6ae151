#include "ui/controls.h"

#include <utility>

namespace qel::ui {

Control::Control(Window& window, ControlKind kind, std::string name, Control* container, Rect rect)
    : window_(window), kind_(kind), name_(std::move(name)), container_(container), rect_(rect) {
  window_.Register(this);
}

void Control::Notify(enum ChangeKind change, int row) { window_.Changed(*this, change, row); }

void Control::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  Notify(ChangeKind::Text);
  // A text box raises its change event whoever changed the text.
  if (kind_ == ControlKind::TextBox && Change) Change();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Notify(ChangeKind::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Notify(ChangeKind::Visible);
}

void Control::SetTooltip(const std::string& text) {
  if (text == tooltip) return;
  tooltip = text;
  Notify(ChangeKind::Tooltip);
}

void CheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Notify(ChangeKind::Value);
}

const std::string& ListBox::List(int i) const {
  static const std::string empty;
  return i >= 0 && i < ListCount() ? rows_[i] : empty;
}

bool ListBox::Selected(int i) const { return i >= 0 && i < ListCount() && checks_[i]; }

void ListBox::AddItem(const std::string& text) {
  rows_.push_back(text);
  checks_.push_back(false);
  colors_.emplace_back();
  Notify(ChangeKind::RowAdded, ListCount() - 1);
}

void ListBox::AddItems(std::vector<std::string> texts, std::vector<bool> checks) {
  if (texts.empty()) return;
  checks.resize(texts.size(), false);
  int first = ListCount();
  rows_.insert(rows_.end(), std::make_move_iterator(texts.begin()),
               std::make_move_iterator(texts.end()));
  checks_.insert(checks_.end(), checks.begin(), checks.end());
  colors_.resize(rows_.size());
  // One notice per row keeps the host's bookkeeping simple; a host may batch.
  for (int i = first; i < ListCount(); ++i) Notify(ChangeKind::RowAdded, i);
}

void ListBox::RemoveItem(int i) {
  if (i < 0 || i >= ListCount()) return;
  rows_.erase(rows_.begin() + i);
  checks_.erase(checks_.begin() + i);
  colors_.erase(colors_.begin() + i);
  // A list box loses its current row when that row goes.
  if (current_ == i) current_ = -1;
  else if (current_ > i) --current_;
  Notify(ChangeKind::RowRemoved, i);
}

void ListBox::Clear() {
  if (rows_.empty() && current_ == -1) return;
  rows_.clear();
  checks_.clear();
  colors_.clear();
  current_ = -1;
  Notify(ChangeKind::Cleared);
}

Color ListBox::RowColor(int i) const { return i >= 0 && i < ListCount() ? colors_[i] : Color(); }

void ListBox::SetRowColor(int i, Color color) {
  if (i < 0 || i >= ListCount() || colors_[i] == color) return;
  colors_[i] = color;
  Notify(ChangeKind::RowColor, i);
}

void ListBox::SetList(int i, const std::string& text) {
  if (i < 0 || i >= ListCount() || rows_[i] == text) return;
  rows_[i] = text;
  Notify(ChangeKind::RowText, i);
}

void ListBox::SetSelected(int i, bool checked) {
  if (i < 0 || i >= ListCount() || checks_[i] == checked) return;
  checks_[i] = checked;
  Notify(ChangeKind::RowCheck, i);
}

void ListBox::SetListIndex(int i) {
  if (i < -1 || i >= ListCount()) i = -1;
  if (i == current_) return;
  current_ = i;
  Notify(ChangeKind::Selection, i);
}

void ListView::SetColumns(std::vector<Column> columns) {
  columns_ = std::move(columns);
  Notify(ChangeKind::Columns);
}

void ListView::AddRow(std::vector<std::string> cells) {
  rows_.push_back(std::move(cells));
  Notify(ChangeKind::RowAdded, ListCount() - 1);
}

void ListView::AddRows(std::vector<std::vector<std::string>> rows) {
  int first = ListCount();
  rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
  for (int i = first; i < ListCount(); ++i) Notify(ChangeKind::RowAdded, i);
}

void ListView::RemoveRow(int i) {
  if (i < 0 || i >= ListCount()) return;
  rows_.erase(rows_.begin() + i);
  if (current_ == i) current_ = -1;
  else if (current_ > i) --current_;
  Notify(ChangeKind::RowRemoved, i);
}

void ListView::Clear() {
  rows_.clear();
  current_ = -1;
  Notify(ChangeKind::Cleared);
}

void ListView::SetListIndex(int i) {
  if (i < -1 || i >= ListCount()) i = -1;
  if (i == current_) return;
  current_ = i;
  Notify(ChangeKind::Selection, i);
}

void Window::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (observer_) observer_->OnCaptionChanged(*this);
}

Control* Window::Find(const std::string& name) const {
  for (Control* c : controls_)
    if (c->name() == name) return c;
  return nullptr;
}

void Window::Changed(Control& control, ChangeKind change, int row) {
  if (observer_) observer_->OnControlChanged(control, change, row);
}

}  // namespace qel::ui
