#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "ui/control_host.h"

namespace q8::linux_shell {

// The native child controls of one Qt window, for the core's ControlHost: list boxes
// (QListWidget), statics (QLabel) and edits (QLineEdit) at their rectangles under their ids, in
// the window's font and in the colours the window's controller answers. Notifications go back
// through the callbacks.
class QtControls {
 public:
  struct Callbacks {
    std::function<ControlColors(ControlId)> colors;
    std::function<void(ControlId, ListEvent)> list;
    std::function<void(ControlId, EditEvent)> edit;
  };

  QtControls(QWidget& parent, Callbacks callbacks)
      : parent_(parent), callbacks_(std::move(callbacks)) {}
  QtControls(const QtControls&) = delete;
  QtControls& operator=(const QtControls&) = delete;

  void SetFont(const QFont& font) { font_ = font; }

  void CreateList(ControlId id, Rect rect, bool verticalScrollBar);
  void AddListItem(ControlId id, std::string_view text);
  std::optional<int> ListSelection(ControlId id) const;
  void SetListSelection(ControlId id, int index);
  std::optional<int> ListItemAt(ControlId id, Point point) const;
  Rect ListItemRect(ControlId id, int index) const;
  void ScrollList(ControlId id, int lines);
  void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style);
  void CreateEdit(ControlId id, Rect rect, std::string_view text);
  void CreateTextEdit(ControlId id, Rect rect, std::string_view text);
  void SetControlText(ControlId id, std::string_view text);
  std::string ControlText(ControlId id) const;
  void ShowControl(ControlId id, bool visible);
  void RedrawControl(ControlId id);
  void DestroyControl(ControlId id);
  std::optional<Rgb> ChooseColor(Rgb initial);

 private:
  QWidget* Find(ControlId id) const;
  void Place(ControlId id, QWidget* widget, Rect rect);
  void ApplyColors(ControlId id, QWidget& widget);

  QWidget& parent_;
  Callbacks callbacks_;
  QFont font_;
  std::map<ControlId, QPointer<QWidget>> controls_;
};

// The ControlHost part of a window host (Base derives from ControlHost), served by a QtControls
// the window sets up in its constructor.
template <typename Base>
class QtControlHostOf : public Base {
 public:
  void CreateList(ControlId id, Rect rect, bool scroll) override {
    controls_->CreateList(id, rect, scroll);
  }
  void AddListItem(ControlId id, std::string_view text) override {
    controls_->AddListItem(id, text);
  }
  std::optional<int> ListSelection(ControlId id) const override {
    return controls_->ListSelection(id);
  }
  void SetListSelection(ControlId id, int index) override {
    controls_->SetListSelection(id, index);
  }
  std::optional<int> ListItemAt(ControlId id, Point point) const override {
    return controls_->ListItemAt(id, point);
  }
  Rect ListItemRect(ControlId id, int index) const override {
    return controls_->ListItemRect(id, index);
  }
  void ScrollList(ControlId id, int lines) override { controls_->ScrollList(id, lines); }
  void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style) override {
    controls_->CreateStatic(id, rect, text, style);
  }
  void CreateEdit(ControlId id, Rect rect, std::string_view text) override {
    controls_->CreateEdit(id, rect, text);
  }
  void CreateTextEdit(ControlId id, Rect rect, std::string_view text) override {
    controls_->CreateTextEdit(id, rect, text);
  }
  void SetControlText(ControlId id, std::string_view text) override {
    controls_->SetControlText(id, text);
  }
  std::string ControlText(ControlId id) const override { return controls_->ControlText(id); }
  void ShowControl(ControlId id, bool visible) override { controls_->ShowControl(id, visible); }
  void RedrawControl(ControlId id) override { controls_->RedrawControl(id); }
  void DestroyControl(ControlId id) override { controls_->DestroyControl(id); }
  std::optional<Rgb> ChooseColor(Rgb initial) override { return controls_->ChooseColor(initial); }

 protected:
  std::unique_ptr<QtControls> controls_;
};

QString QStringOf(std::string_view utf8);

// Runs `dialog` (a message box, the colour chooser, a skinned dialog) modal to its owner's
// windows only, not to the whole program: the tray icon stays within reach, so that its menu's
// Exit works while the dialog is open, as it does on Windows. Returns what exec() returns.
int ExecOverOwner(QDialog& dialog);

}  // namespace q8::linux_shell
