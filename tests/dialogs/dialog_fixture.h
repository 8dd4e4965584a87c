#pragma once

#include <gtest/gtest.h>

#include "dialogs/dialog_environment.h"
#include "support/fake_window_host.h"
#include "ui/skin_fakes.h"

namespace q8::test {

// One dialog's world: the process-wide state as a test sets it, a decoder that draws every image
// as one pixel (except those listed missing), and the fake window the dialog runs in. Images,
// texts and copies go to one log, so drawing order can be checked across them.
class DialogTest : public ::testing::Test {
 public:
  // Presses on the three buttons, and on the face outside every control.
  static constexpr Point kOk{200, 260};
  static constexpr Point kCancel{300, 260};
  static constexpr Point kClose{360, 10};
  static constexpr Point kNowhere{20, 290};

 protected:
  DialogTest() {
    state.executable = "/opt/q8/TarnixMouseApp.exe";
    state.skinDirectory = "/opt/q8/Skins/Default";
    state.skinName = "Default";
    state.skinTextColor = {255, 255, 255};
  }

  // The dialog's initialisation in its window, then the first paint of its face.
  void Open(DialogController& dialog) {
    host.Attach(dialog);
    dialog.OnInitDialog(host);
    dialog.OnEraseBackground();
  }

  // A press of the left button at `p`, in the dialog's client pixels.
  static void Click(DialogController& dialog, Point p) { dialog.OnLButtonDown(p); }

  // Points the pointer at item `item` of the open list `list` (as the fake lays items out) and
  // lets the list report the selection the pointer made.
  void PickItem(DialogController& dialog, ControlId list, int item) {
    const FakeControl* control = host.Find(list);
    ASSERT_NE(control, nullptr) << "list " << list << " is not open";
    const int row = item - control->topIndex;
    dialog.OnPointerMove(
        {control->rect.left + 5, control->rect.top + row * FakeControl::kItemHeight + 2});
    dialog.OnListNotification(list, ListEvent::kSelectionChange);
  }

  std::vector<std::string> Items(ControlId list) const {
    const FakeControl* control = host.Find(list);
    return control ? control->items : std::vector<std::string>{};
  }

  AppState state;
  FakeDialogHost host;
  FakeImageDecoder decoder{host.drawLog};
  DialogEnvironment environment{state, decoder, {10, 0}};
};

}  // namespace q8::test
