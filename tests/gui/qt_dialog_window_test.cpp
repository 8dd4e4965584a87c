#include "linux/gui/qt_dialog_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

namespace q8::linux_shell {
namespace {

using ::testing::ElementsAre;

// A dialog that captures keys and keeps Enter back, recording what reaches it.
class CapturingDialog final : public DialogController {
 public:
  int TemplateId() const override { return 701; }
  bool UsesDialogKeys() const override { return false; }
  void OnInitDialog(DialogHost& host) override { started = host.StartKeyCapture().started; }
  void OnEraseBackground() override {}
  void OnLButtonDown(Point) override {}
  void OnMouseMove(Point) override {}
  void OnMouseHover(Point) override {}
  void OnPointerMove(Point) override {}
  void OnListNotification(ControlId, ListEvent) override {}
  void OnMouseWheel(int) override {}
  ControlColors ControlColor(ControlId) const override { return {}; }
  bool OnPreTranslateKey(KeyMessage message) override {
    codes.push_back(message.code);
    return message.isKeyDown && message.code == 0x0D;
  }
  void OnKeyCaptured(std::string_view name) override { names.emplace_back(name); }

  bool started = false;
  std::vector<std::string> names;
  std::vector<int> codes;
};

// A key event as the X platform delivers it: Qt's key, the X key code and the key symbol.
void Send(QWidget& window, QEvent::Type type, int key, quint32 xKeyCode, quint32 keysym) {
  QKeyEvent event(type, key, Qt::NoModifier, xKeyCode, keysym, 0);
  QApplication::sendEvent(&window, &event);
}

TEST(QtDialogWindowTest, KeyEventsReachTheCaptureUnderTheirWindowsNames) {
  CapturingDialog dialog;
  QtDialogWindow window(nullptr, dialog);
  dialog.OnInitDialog(window);
  ASSERT_TRUE(dialog.started);

  Send(window, QEvent::KeyPress, Qt::Key_A, 30 + 8, 'a');
  Send(window, QEvent::KeyPress, Qt::Key_Return, 28 + 8, 0xFF0D);
  Send(window, QEvent::KeyPress, Qt::Key_End, 79 + 8, 0xFF9C);  // the keypad's 1, Num Lock off
  Send(window, QEvent::KeyPress, Qt::Key_Exclam, 2 + 8, '!');   // Shift+1
  Send(window, QEvent::KeyRelease, Qt::Key_Shift, 42 + 8, 0xFFE1);
  Send(window, QEvent::KeyPress, Qt::Key_VolumeUp, 115 + 8, 0x1008FF13);  // not in the table
  ASSERT_EQ(dialog.names.size(), 6u);
  EXPECT_THAT(std::vector<std::string>(dialog.names.begin(), dialog.names.end() - 1),
              ElementsAre("A", "Enter", "Num 1", "1", "Shift"));
  EXPECT_FALSE(dialog.names.back().empty());  // Qt's own name, which sends nothing
  EXPECT_THAT(dialog.codes, ElementsAre('A', 0x0D, 0, 0, 0, 0));
  // Enter was kept back: it did not end the run.
  EXPECT_FALSE(window.EndedWith().has_value());
}

}  // namespace
}  // namespace q8::linux_shell
