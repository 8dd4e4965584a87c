#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_host.h"
#include "support/fakes.h"
#include "ui/dialog_host.h"
#include "ui/skin_fakes.h"

namespace q8::test {

// One native child control as a fake host keeps it.
struct FakeControl {
  enum class Kind { kList, kStatic, kEdit } kind = Kind::kStatic;
  Rect rect;
  bool verticalScrollBar = false;
  StaticStyle style = StaticStyle::kLeft;
  std::string text;
  std::vector<std::string> items;
  std::optional<int> selection;
  int topIndex = 0;
  bool visible = true;
  // Rows of a list are this many pixels high in the fake.
  static constexpr int kItemHeight = 16;
};

// The native controls of a window, kept as data so tests can look at them and act as the user
// would (select an item, type into an edit). Every call is also logged, one line each.
template <typename Base>
class FakeControlsOf : public Base {
 public:
  void CreateList(ControlId id, Rect rect, bool verticalScrollBar) override {
    Log("create list " + std::to_string(id));
    FakeControl list;
    list.kind = FakeControl::Kind::kList;
    list.rect = rect;
    list.verticalScrollBar = verticalScrollBar;
    controls[id] = list;
  }
  void AddListItem(ControlId id, std::string_view text) override {
    if (FakeControl* c = Find(id))
      c->items.emplace_back(text);
  }
  std::optional<int> ListSelection(ControlId id) const override {
    const FakeControl* c = Find(id);
    return c ? c->selection : std::nullopt;
  }
  void SetListSelection(ControlId id, int index) override {
    if (FakeControl* c = Find(id))
      c->selection = index;
  }
  std::optional<int> ListItemAt(ControlId id, Point point) const override {
    const FakeControl* c = Find(id);
    if (c == nullptr || !c->rect.Contains(point) || c->items.empty())
      return std::nullopt;
    const int row = c->topIndex + (point.y - c->rect.top) / FakeControl::kItemHeight;
    return std::min(row, static_cast<int>(c->items.size()) - 1);
  }
  Rect ListItemRect(ControlId id, int index) const override {
    const FakeControl* c = Find(id);
    if (c == nullptr)
      return {};
    const int top = (index - c->topIndex) * FakeControl::kItemHeight;
    return {0, top, c->rect.Width(), top + FakeControl::kItemHeight};
  }
  void ScrollList(ControlId id, int lines) override {
    Log("scroll " + std::to_string(id) + " " + std::to_string(lines));
    if (FakeControl* c = Find(id))
      c->topIndex = std::max(0, c->topIndex + lines);
  }
  void CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style) override {
    Log("create static " + std::to_string(id));
    FakeControl label;
    label.rect = rect;
    label.text = text;
    label.style = style;
    controls[id] = label;
  }
  void CreateEdit(ControlId id, Rect rect, std::string_view text) override {
    Log("create edit " + std::to_string(id));
    FakeControl edit;
    edit.kind = FakeControl::Kind::kEdit;
    edit.rect = rect;
    edit.text = text;
    controls[id] = edit;
  }
  void CreateTextEdit(ControlId id, Rect rect, std::string_view text) override {
    Log("create text edit " + std::to_string(id));
    FakeControl edit;
    edit.kind = FakeControl::Kind::kEdit;
    edit.rect = rect;
    edit.text = text;
    controls[id] = edit;
  }
  void SetControlText(ControlId id, std::string_view text) override {
    if (FakeControl* c = Find(id))
      c->text = text;
  }
  std::string ControlText(ControlId id) const override {
    const FakeControl* c = Find(id);
    return c ? c->text : std::string();
  }
  void ShowControl(ControlId id, bool visible) override {
    if (FakeControl* c = Find(id))
      c->visible = visible;
  }
  void RedrawControl(ControlId id) override { Log("redraw " + std::to_string(id)); }
  void DestroyControl(ControlId id) override {
    if (controls.erase(id) != 0)
      Log("destroy " + std::to_string(id));
  }
  std::optional<Rgb> ChooseColor(Rgb initial) override {
    Log("choose colour");
    chooserOpenedOn = initial;
    return chosenColor;
  }

  // MessageSink
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
    Log("message " + std::string(text));
    if (whileMessageShows) {
      whileMessageShows();  // what the box's own loop lets in
    }
  }

  bool Has(ControlId id) const { return controls.count(id) != 0; }
  FakeControl* Find(ControlId id) {
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : &it->second;
  }
  const FakeControl* Find(ControlId id) const {
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : &it->second;
  }
  void Log(std::string line) { calls.push_back(std::move(line)); }

  std::map<ControlId, FakeControl> controls;
  std::vector<Message> messages;
  std::function<void()> whileMessageShows;
  std::vector<std::string> calls;
  // What the colour chooser answers (nothing: Cancel) and the colour it was opened on.
  std::optional<Rgb> chosenColor;
  std::optional<Rgb> chooserOpenedOn;
};

// A main window without a screen: it keeps the client size, logs every call and records what the
// window showed, the tray balloons and the dialogs run over it.
class FakeMainWindowHost final : public FakeControlsOf<MainWindowHost> {
 public:
  FakeMainWindowHost() : text_(drawLog) {}

  Rect ClientRect() const override { return {0, 0, width, height}; }
  void CopyToWindow(const Canvas&, Rect) override { ++copies; }
  double PixelRatio() const override { return pixelRatio; }
  void ResizeClient(int w, int h) override {
    width = w;
    height = h;
    Log("resize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override {
    tracks.push_back({alsoLeave, hoverMs});
  }

  bool ClaimSingleInstance() override {
    Log("claim instance");
    return !anotherCopyRuns;
  }
  void SetUpWindowStyle() override { Log("window style"); }
  bool RegisterDeviceNotifications() override {
    Log("register notifications");
    return !refuseNotifications;
  }
  void SetFonts(const LanguageFonts& f) override {
    fonts = f;
    Log("fonts");
  }
  OsVersion PlatformVersion() const override { return {10, 0}; }
  TextPainter& Text() override { return text_; }

  void ShowWindow() override {
    visible = true;
    Log("show");
  }
  void HideWindow() override {
    visible = false;
    Log("hide");
  }
  void BringToForeground() override { Log("foreground"); }
  bool HasNotificationArea() const override { return hasTray; }
  void MinimiseWindow() override {
    visible = false;
    Log("minimise");
  }
  void StartDrag(Point p) override {
    Log("drag " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void SetBusy(bool busy) override { Log(busy ? "busy" : "not busy"); }

  void AddTrayIcon(std::string_view tip) override { Log("tray add " + std::string(tip)); }
  void SetTrayTip(std::string_view tip) override {
    trayTip = tip;
    Log("tray tip " + std::string(tip));
  }
  void ShowBalloon(const TrayBalloon& b) override {
    balloons.push_back({std::string(b.text), std::string(b.title), b.timeoutMs});
    Log("balloon " + std::string(b.title));
  }
  void DeleteTrayIcon() override { Log("tray delete"); }
  void ShowTrayMenu(std::string_view exitText) override { Log("menu " + std::string(exitText)); }
  // Logs "menu Profiles: a, [b], c / Manage profiles… | Exit" with the checked profile in
  // brackets.
  void ShowTrayMenuWithProfiles(std::string_view exitText, const ProfileMenu& profiles) override {
    std::string entry = "menu " + std::string(profiles.title) + ":";
    for (std::size_t i = 0; i < profiles.names.size(); ++i) {
      const bool checked = profiles.active == i;
      entry += std::string(i == 0 ? " " : ", ") + (checked ? "[" : "") + profiles.names[i] +
               (checked ? "]" : "");
    }
    if (!profiles.manageText.empty()) {
      entry += " / " + std::string(profiles.manageText);
    }
    Log(entry + " | " + std::string(exitText));
  }

  // Logs the entry with a check mark ("log-in [x] Start at log-in"), then the menu as above.
  void OpenTrayMenu(const TrayMenu& menu) override {
    if (menu.startAtLogIn) {
      Log(std::string("log-in ") + (menu.startAtLogIn->checked ? "[x] " : "[ ] ") +
          std::string(menu.startAtLogIn->text));
    }
    MainWindowHost::OpenTrayMenu(menu);
  }

  void OpenAddress(std::string_view address) override { Log("open " + std::string(address)); }
  void EndProcess(int exitCode) override {
    endedWith = exitCode;
    Log("end " + std::to_string(exitCode));
  }

  DialogResult RunDialog(DialogController& dialog) override {
    Log("dialog " + std::to_string(dialog.TemplateId()));
    return runDialog ? runDialog(dialog) : DialogResult::kCancel;
  }

  struct Balloon {
    std::string text;
    std::string title;
    unsigned timeoutMs;
    friend bool operator==(const Balloon&, const Balloon&) = default;
  };

  int width = 200;
  int height = 150;
  bool visible = true;
  bool anotherCopyRuns = false;
  bool hasTray = true;
  bool refuseNotifications = false;
  int copies = 0;
  std::optional<int> endedWith;
  std::optional<LanguageFonts> fonts;
  std::vector<TrackRequest> tracks;
  std::vector<Balloon> balloons;
  std::string trayTip;
  // Plays the user of a dialog run over the window; Cancel when unset.
  std::function<DialogResult(DialogController&)> runDialog;
  DrawLog drawLog;
  // The display's scale the window is drawn at.
  double pixelRatio = 1.0;

 private:
  FakeTextPainter text_;
};

// A dialog's window without a screen: it keeps the client size and the dialog's font, records
// how the run ended, and plays the platform where the controller relies on it. The keyboard focus
// is modelled for the edits: typing into an edit gives it the focus, and the focus leaves it (with
// a kill-focus notification) when it is destroyed or the dialog ends, as a real window does.
class FakeDialogHost final : public FakeControlsOf<DialogHost> {
 public:
  FakeDialogHost() : text(drawLog) {}

  // The controller that receives the notifications the fake sends on its own.
  void Attach(DialogController& dialog) { controller = &dialog; }

  Rect ClientRect() const override { return {0, 0, width, height}; }
  void CopyToWindow(const Canvas& source, Rect) override {
    ++copies;
    copiedScale = source.Scale();
    drawLog.push_back("copy");
  }
  double PixelRatio() const override { return pixelRatio; }
  void ResizeClient(int w, int h) override {
    width = w;
    height = h;
    Log("resize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void TrackMouse(bool alsoLeave, unsigned hoverMs) override {
    tracks.push_back({alsoLeave, hoverMs});
  }
  void SetFont(const FontRequest& request) override {
    font = request;
    Log("font");
  }
  TextPainter& Text() override { return text; }
  void EndDialog(DialogResult result) override {
    LoseFocus();
    ended = result;
    Log(result == DialogResult::kOk ? "end ok" : "end cancel");
  }
  KeyCaptureStart StartKeyCapture() override {
    Log("capture keys");
    return keyCapture;
  }
  bool AskYesNo(std::string_view question, std::string_view) override {
    questions.emplace_back(question);
    Log("ask " + std::string(question));
    return answerYes;
  }
  std::optional<std::filesystem::path> ChooseFile(const FileChoice& choice) override {
    fileChoices.push_back(choice);
    Log("choose file " + choice.pattern);
    return chosenFile;
  }
  void DestroyControl(ControlId id) override {
    if (focus == id)
      LoseFocus();
    FakeControlsOf<DialogHost>::DestroyControl(id);
  }

  // The user types `text` over an edit's text: the edit takes the focus (from the one that had
  // it) and reports the change.
  void Type(ControlId edit, std::string_view newText) {
    if (focus != edit) {
      LoseFocus();
    }
    focus = edit;
    SetControlText(edit, newText);
    controller->OnEditNotification(edit, EditEvent::kChange);
  }
  // The focus moves away from the edit that has it.
  void LoseFocus() {
    if (focus && controller != nullptr) {
      const ControlId edit = *focus;
      focus.reset();
      controller->OnEditNotification(edit, EditEvent::kKillFocus);
    }
  }

  int width = 200;
  int height = 150;
  int copies = 0;
  // The display's scale the dialog is drawn at, and the scale of the canvas it copied last.
  double pixelRatio = 1.0;
  double copiedScale = 0;
  std::optional<FontRequest> font;
  std::optional<DialogResult> ended;
  std::optional<ControlId> focus;
  std::vector<TrackRequest> tracks;
  // What starting the key capture answers.
  KeyCaptureStart keyCapture{true, 0};
  // The questions asked and what the user answers; the file dialogs opened and the file chosen
  // (nothing: Cancel).
  std::vector<std::string> questions;
  bool answerYes = true;
  std::vector<FileChoice> fileChoices;
  std::optional<std::filesystem::path> chosenFile;
  DrawLog drawLog;
  FakeTextPainter text;
  DialogController* controller = nullptr;
};

}  // namespace q8::test
