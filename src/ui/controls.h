// Portable control models: every property a window's layout fixes, and the
// events the host raises on them. Texts are ANSI bytes. Positions in twips.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qel::ui {

class Window;
class Control;

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;  // twips, relative to the container
};

// A colour: an RGB value, or one of the system colours, or the default.
struct Color {
  enum class Kind { Default, Rgb, System } kind = Kind::Default;
  std::uint32_t value = 0;  // RGB as 0x00BBGGRR, or a COLOR_* index
  static Color Rgb(int r, int g, int b) {
    return {Kind::Rgb, std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16};
  }
  static Color System(int index) { return {Kind::System, std::uint32_t(index)}; }
  bool operator==(const Color&) const = default;
};
constexpr int kSysColorActiveBorder = 10;  // COLOR_ACTIVEBORDER

enum class ControlKind { Button, Label, TextBox, CheckBox, Frame, ListBox, ListView };

// What changed on a control, for the host to reflect. Row is -1 when the
// change is not about one row.
enum class ChangeKind {
  Text, Enabled, Visible, Value,          // any control
  RowAdded, RowRemoved, RowText, RowCheck, RowColor, Cleared, Selection, Columns,
  Tooltip
};

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void OnControlChanged(Control& control, ChangeKind change, int row) = 0;
  virtual void OnCaptionChanged(Window& window) = 0;
};

class Control {
 public:
  Control(Window& window, ControlKind kind, std::string name, Control* container, Rect rect);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  Window& window() const { return window_; }
  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  Control* container() const { return container_; }  // null: the window itself
  const Rect& rect() const { return rect_; }

  // Caption of buttons, labels, frames, check boxes; contents of text boxes.
  const std::string& text() const { return text_; }
  void SetText(const std::string& text);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  // Changes the tooltip of a control already on screen (the field below is
  // read once, when the control is built).
  void SetTooltip(const std::string& text);

  // Fixed at construction by the window that owns the control.
  std::string tooltip;
  Color foreColor, backColor;
  int tabIndex = -1;  // -1: not a tab stop
  bool multiLine = false;  // text boxes
  bool scrollBar = true;   // multi-line text boxes: a vertical scroll bar

  // Events, raised by the host (or a test) after it updated the model.
  std::function<void()> Click;   // buttons, check boxes, list boxes, list views
  std::function<void()> Change;  // text boxes: the text changed
  std::function<void()> DblClick;  // list boxes: a double click on a row

 protected:
  void Notify(enum ChangeKind change, int row = -1);

 private:
  Window& window_;
  ControlKind kind_;
  std::string name_;
  Control* container_;
  Rect rect_;
  std::string text_;
  bool enabled_ = true;
  bool visible_ = true;
};

class Button : public Control {
 public:
  Button(Window& w, std::string name, Control* in, Rect r) : Control(w, ControlKind::Button, std::move(name), in, r) {}
  bool isDefault = false;  // Enter activates it wherever the focus is
  bool isCancel = false;   // Esc activates it
};

class Label : public Control {
 public:
  Label(Window& w, std::string name, Control* in, Rect r) : Control(w, ControlKind::Label, std::move(name), in, r) {}
};

class Frame : public Control {
 public:
  Frame(Window& w, std::string name, Control* in, Rect r) : Control(w, ControlKind::Frame, std::move(name), in, r) {}
};

class TextBox : public Control {
 public:
  TextBox(Window& w, std::string name, Control* in, Rect r) : Control(w, ControlKind::TextBox, std::move(name), in, r) {}
};

class CheckBox : public Control {
 public:
  CheckBox(Window& w, std::string name, Control* in, Rect r) : Control(w, ControlKind::CheckBox, std::move(name), in, r) {}
  int value() const { return value_; }  // 0 unchecked, 1 checked
  void SetValue(int value);

 private:
  int value_ = 0;
};

// A list box; with checkBoxes, one check mark per row.
class ListBox : public Control {
 public:
  ListBox(Window& w, std::string name, Control* in, Rect r, bool checkBoxes = false)
      : Control(w, ControlKind::ListBox, std::move(name), in, r), checkBoxes_(checkBoxes) {}

  bool checkBoxes() const { return checkBoxes_; }
  int ListCount() const { return static_cast<int>(rows_.size()); }
  // Row i's text; the empty text for a row out of range (as row -1 reads).
  const std::string& List(int i) const;
  bool Selected(int i) const;  // the check mark
  int ListIndex() const { return current_; }

  void AddItem(const std::string& text);
  void RemoveItem(int i);
  void Clear();
  void SetList(int i, const std::string& text);
  void SetSelected(int i, bool checked);
  void SetListIndex(int i);
  // Appends many rows at once; the host reflects them in one pass.
  void AddItems(std::vector<std::string> texts, std::vector<bool> checks);
  // Row i's text colour; rows come in the list's own colour (Default).
  Color RowColor(int i) const;
  void SetRowColor(int i, Color color);

  const std::vector<std::string>& rows() const { return rows_; }

 private:
  bool checkBoxes_;
  std::vector<std::string> rows_;
  std::vector<bool> checks_;
  std::vector<Color> colors_;
  int current_ = -1;
};

// A report-view list: rows of cells, one current row.
class ListView : public Control {
 public:
  ListView(Window& w, std::string name, Control* in, Rect r) : Control(w, ControlKind::ListView, std::move(name), in, r) {}
  struct Column { std::string caption; int width = 0; };  // width in twips

  const std::vector<Column>& columns() const { return columns_; }
  void SetColumns(std::vector<Column> columns);
  int ListCount() const { return static_cast<int>(rows_.size()); }
  const std::vector<std::string>& Row(int i) const { return rows_.at(i); }
  int ListIndex() const { return current_; }
  void AddRow(std::vector<std::string> cells);
  // Appends many rows at once; the host reflects them in one pass.
  void AddRows(std::vector<std::vector<std::string>> rows);
  void RemoveRow(int i);
  void Clear();
  void SetListIndex(int i);

 private:
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
  int current_ = -1;
};

// A window: its caption, client size, and controls in layout order.
class Window {
 public:
  explicit Window(std::string name) : name_(std::move(name)) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int clientWidth = 0, clientHeight = 0;  // twips
  bool centered = true;
  bool centerOnOwner = false;  // a modal window over the one that opened it

  const std::vector<Control*>& controls() const { return controls_; }
  Control* Find(const std::string& name) const;

  void SetObserver(ControlObserver* observer) { observer_ = observer; }

  // Lifecycle events, run by the host.
  virtual void Form_Load() {}
  virtual void Form_Unload() {}
  // The window became active: when it is shown, and when the focus comes
  // back to it from another window of the program.
  virtual void Form_Activate() {}

 private:
  friend class Control;
  void Register(Control* control) { controls_.push_back(control); }
  void Changed(Control& control, ChangeKind change, int row);

  std::string name_;
  std::string caption_;
  std::vector<Control*> controls_;
  ControlObserver* observer_ = nullptr;
};

}  // namespace qel::ui
