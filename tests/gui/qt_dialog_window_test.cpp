#include "linux/gui/qt_dialog_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cstdlib>
#include <map>

#include "dialogs/dialog_environment.h"
#include "dialogs/fire_key_dialog.h"
#include "model/app_state.h"
#include "ui/png_decoder.h"

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

template <typename Widget>
Widget* ChildAt(QWidget& window, QRect geometry) {
  for (Widget* child : window.findChildren<Widget*>()) {
    if (child->geometry() == geometry)
      return child;
  }
  return nullptr;
}

TEST(QtDialogWindowTest, FireKeyEditsTakeDigitsOnlyAndItsValueBoxDrawsLikeWindows) {
  AppState state;
  state.skinDirectory = std::string(Q8_SKINS_DIR) + "/Default";
  state.skinName = "Default";
  state.skinTextColor = {255, 255, 255};
  PngDecoder decoder;
  const DialogEnvironment environment{state, decoder, {10, 0}};
  CFireKeyDialog dialog{environment};
  QtDialogWindow window(nullptr, dialog);
  dialog.OnInitDialog(window);

  // The count, the press and the release time: digits only, centred, no border.
  const auto edits = window.findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 3);
  for (const QLineEdit* edit : edits) {
    EXPECT_EQ(edit->alignment(), Qt::AlignCenter);
    EXPECT_FALSE(edit->hasFrame());
  }
  QLineEdit* times = ChildAt<QLineEdit>(window, QRect(83, 104, 81, 14));
  ASSERT_NE(times, nullptr);
  times->selectAll();
  QTest::keyClicks(times, "x5");
  EXPECT_EQ(times->text(), QStringLiteral("5"));

  // The value box: a sunken edge in the system's colours, the text whole, centred in height,
  // and a text too long for the box cut at its edge.
  QLabel* box = ChildAt<QLabel>(window, QRect(82, 69, 68, 16));
  ASSERT_NE(box, nullptr);
  const QRgb shadow = QApplication::palette().color(QPalette::Dark).rgb();
  const QRgb highlight = QApplication::palette().color(QPalette::Light).rgb();
  struct Case {
    QString text;
    bool descends;  // a letter below the baseline ("g") may reach the box's last row
  };
  for (const Case& c :
       {Case{QStringLiteral("L-Button"), false}, Case{QStringLiteral("Right Ctrl"), true},
        Case{QStringLiteral("Left Windows Left Windows"), false}}) {
    const QString& text = c.text;
    window.SetControlText(572, text.toStdString());
    const QImage image = box->grab().toImage();
    const int w = image.width();
    const int h = image.height();
    ASSERT_EQ(QSize(w, h), QSize(68, 16));
    for (int x = 0; x < w - 1; ++x) {
      EXPECT_EQ(image.pixel(x, 0), shadow) << "top edge, x " << x;
      EXPECT_EQ(image.pixel(x + 1, h - 1), highlight) << "bottom edge, x " << x + 1;
    }
    for (int y = 0; y < h - 1; ++y) {
      EXPECT_EQ(image.pixel(0, y), shadow) << "left edge, y " << y;
      EXPECT_EQ(image.pixel(w - 1, y + 1), highlight) << "right edge, y " << y + 1;
    }
    // The ground is the colour most pixels inside the edge have; the text is the rest.
    std::map<QRgb, int> counts;
    for (int y = 1; y < h - 1; ++y)
      for (int x = 1; x < w - 1; ++x)
        ++counts[image.pixel(x, y)];
    const QRgb ground = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                          return a.second < b.second;
                        })->first;
    int top = h;
    int bottom = -1;
    for (int y = 1; y < h - 1; ++y)
      for (int x = 1; x < w - 1; ++x)
        if (image.pixel(x, y) != ground) {
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    ASSERT_LE(top, bottom) << text.toStdString() << ": no text drawn";
    // As much room above as below, give or take the baseline's place in the cell; a text
    // without descenders pushed down to the edge is cut.
    EXPECT_LE(std::abs((top - 1) - (h - 2 - bottom)), 2)
        << text.toStdString() << ": text in rows " << top << ".." << bottom << " of 1.." << h - 2;
    if (!c.descends) {
      EXPECT_LT(bottom, h - 2) << text.toStdString() << ": the text's bottom is cut";
    }
  }

  dialog.OnLButtonDown({200, 260});  // OK
  EXPECT_EQ(window.EndedWith(), DialogResult::kOk);
  EXPECT_EQ(dialog.ChosenTimes(), 5);
}

}  // namespace
}  // namespace q8::linux_shell
