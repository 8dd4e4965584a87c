#include "linux/gui/qt_main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <future>
#include <sstream>

#include "app/profile_store.h"
#include "cli/q8ctl.h"
#include "device/simulated_hid_bus.h"
#include "device/simulated_mouse.h"
#include "linux/status_socket.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/png_decoder.h"

namespace q8::linux_shell {
namespace {

using ::testing::ElementsAre;

// A page with one list and one coloured label, recording what reaches it.
class OneListPage final : public MainPageOperations {
 public:
  explicit OneListPage(ControlHost& controls) : controls_(controls) {}
  bool IsBuilt() const override { return built_; }
  void Build() override {
    built_ = true;
    controls_.CreateList(41, {252, 221, 463, 451}, false);
    for (const char* item : {"Left Click", "Right Click", "Mid Click"}) {
      controls_.AddListItem(41, item);
    }
    controls_.CreateStatic(80, {700, 331, 760, 345}, "Standard", StaticStyle::kCentre);
  }
  void TearDown() override { built_ = false; }
  void Redraw(bool) override {}
  std::optional<Canvas> TakeArt() override { return std::nullopt; }
  void CloseListsOutside(Point) override {}
  void SelectKeyConfig(KeyConfigId) override {}
  void RestoreDefaultKeys() override {}
  void ToggleKeyList(int) override {}
  void SelectReportRate(int) override {}
  void ChooseStageColor(int) override {}
  void ToggleDpiLevelList(int) override {}
  void ToggleLightingModeList() override {}
  void ToggleLightingParamList() override {}
  void ToggleLightingEffectList() override {}
  void OnPointerMove(Point p) override { pointer.push_back(p); }
  void OnListNotification(ControlId id, ListEvent) override {
    chosen.push_back(controls_.ListSelection(id).value_or(-1));
  }
  void OnMouseWheel(int) override {}
  std::optional<ControlColors> ControlColor(ControlId id) const override {
    if (id != 80)
      return std::nullopt;
    return ControlColors{Rgb{255, 0, 0}, Rgb{3, 20, 31}, Rgb{3, 20, 55}};
  }
  std::vector<int> chosen;
  std::vector<Point> pointer;

 private:
  ControlHost& controls_;
  bool built_ = false;
};

// The real window over the real controller, the delivered files and skin, and the simulated
// mouse, on Qt's offscreen platform (no tray there).
class QtMainWindowTest : public ::testing::Test {
 protected:
  QtMainWindowTest() {
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / "config.bin",
                               dir / "config.bin");
    std::filesystem::copy_file(std::filesystem::path(Q8_DATA_DIR) / "str.ini", dir / "str.ini");
    std::filesystem::copy(Q8_SKINS_DIR, dir / "Skins", std::filesystem::copy_options::recursive);
    state.executable = dir / "tarnix-q8";
    window.Bind(dialog);
    dialog.SetPage(&page);
  }

  test::TempDir dir;
  SimulatedMouse mouse;
  SimulatedHidBus bus{mouse};
  test::NoSleeper sleeper;
  struct Connected {
    Connected(HidBus& bus, Sleeper& sleeper) { connection.UseBus(bus, sleeper); }
    MouseConnection connection;
  } connected{bus, sleeper};
  MouseConnection& connection = connected.connection;
  AppState state;
  PngDecoder decoder;
  QtMainWindow window{connection, state, QIcon()};
  CKeldraDlg dialog{state, window, connection, decoder};
  OneListPage page{window};
};

TEST_F(QtMainWindowTest, StartsShownWithoutATrayAtTheSizeOfTheSkin) {
  ASSERT_TRUE(dialog.OnInitDialog());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.size(), QSize(876, 648));
  EXPECT_TRUE(state.devicePresent);

  // The window paints the controller's canvas as it stands; a copy from another source lands
  // over it, the rest of the picture kept.
  const auto shownAt = [&](int x, int y) { return QColor(window.grab().toImage().pixel(x, y)); };
  const Pixel background = dialog.Window().canvas()->At(100, 100);
  EXPECT_EQ(shownAt(100, 100), QColor(background.red, background.green, background.blue));
  Canvas red(10, 10);
  for (Pixel& p : red.Pixels()) {
    p = Pixel{0, 0, 255, 255};
  }
  window.CopyToWindow(red, {0, 0, 10, 10});
  EXPECT_EQ(shownAt(5, 5), QColor(255, 0, 0));
  EXPECT_EQ(shownAt(100, 100), QColor(background.red, background.green, background.blue));

  // A second copy finds the first through its socket and ends at once.
  QtMainWindow second{connection, state, QIcon()};
  EXPECT_FALSE(second.ClaimSingleInstance());
}

TEST_F(QtMainWindowTest, ListsAndLabelsSitAtTheirRectanglesInTheirColours) {
  ASSERT_TRUE(dialog.OnInitDialog());
  auto* list = window.findChild<QListWidget*>();
  auto* label = window.findChild<QLabel*>();
  ASSERT_NE(list, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(list->geometry(), QRect(252, 221, 211, 230));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(label->palette().color(QPalette::Window), QColor(3, 20, 55));

  // The pointer over the list is tracked; setting the highlight tells nobody; a click chooses.
  window.SetListSelection(41, 1);
  EXPECT_TRUE(page.chosen.empty());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(2)).center());
  EXPECT_THAT(page.chosen, ElementsAre(2));
  EXPECT_EQ(window.ListItemAt(41, {300, 221 + 1}), 0);
  EXPECT_EQ(window.ListItemAt(41, {300, 440}), 2);  // below the items: the nearest
  EXPECT_EQ(window.ListItemAt(41, {100, 300}), std::nullopt);
}

// Runs `work` on a thread of its own while the window's events are served here, as a sender in
// another process would; its result.
template <typename Work>
auto WhileServing(Work work) {
  auto result = std::async(std::launch::async, std::move(work));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
      15000));
  return result.get();
}

// The shell turns the controller's profile menu into a Qt submenu above Exit: an entry that sent
// another index, lost its check mark or sat below Exit would load the wrong profile or none.
TEST_F(QtMainWindowTest, TheProfilesSubmenuLoadsTheProfileChosen) {
  const ProfileStore store(ProfileFolderIn(dir.path()));
  Profile racing;
  racing.config[field::ReportRateCode] = 4;
  Profile desktop;
  desktop.config[field::ReportRateCode] = 8;
  ASSERT_EQ(store.Save("Racing", racing), std::nullopt);
  ASSERT_EQ(store.Save("Desktop", desktop), std::nullopt);
  ASSERT_TRUE(dialog.OnInitDialog());

  const auto openMenu = [&]() -> QMenu* {
    dialog.OnTrayCallback(kTrayRightButtonUp);
    QTest::qWait(50);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  };
  QMenu* menu = openMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "Profiles");
  EXPECT_EQ(menu->actions()[1]->text(), "Exit");
  QMenu* profiles = menu->actions()[0]->menu();
  ASSERT_NE(profiles, nullptr);
  ASSERT_EQ(profiles->actions().size(), 2);
  EXPECT_EQ(profiles->actions()[1]->text(), "Racing");
  profiles->actions()[1]->trigger();
  menu->close();
  EXPECT_EQ(mouse.Memory().status.reportRateCode, 4);
  EXPECT_EQ(dialog.ActiveProfile(), "Racing");

  menu = openMenu();
  ASSERT_NE(menu, nullptr);
  profiles = menu->actions()[0]->menu();
  ASSERT_NE(profiles, nullptr);
  EXPECT_FALSE(profiles->actions()[0]->isChecked());
  EXPECT_TRUE(profiles->actions()[1]->isChecked());
  menu->close();
  // Opened again and again, the menu keeps one submenu and its entries, nothing more.
  const auto objects = [](QMenu* m) {
    return m->findChildren<QObject*>().size() +
           m->actions()[0]->menu()->findChildren<QObject*>().size();
  };
  const auto held = objects(menu);
  openMenu()->close();
  EXPECT_EQ(objects(openMenu()), held);
  menu->close();

  // Start at log-in, where it is offered, sits between the profiles and Exit and sends its command.
  const AutostartEntry entry(dir / "autostart/tarnix-q8.desktop", dir / "tarnix-q8");
  dialog.SetAutostartEntry(&entry);
  menu = openMenu();
  ASSERT_EQ(menu->actions().size(), 3);
  EXPECT_EQ(menu->actions()[1]->text(), "Start at log-in");
  EXPECT_FALSE(menu->actions()[1]->isChecked());
  menu->actions()[1]->trigger();
  menu->close();
  EXPECT_TRUE(entry.Enabled());
  EXPECT_TRUE(openMenu()->actions()[1]->isChecked());
  QApplication::activePopupWidget()->close();
  dialog.SetAutostartEntry(nullptr);

  // A load whose box is open while the menu is opened again, which makes its entries anew: the
  // entry that started the load is gone when the box closes (str.ini, now a folder, raises it).
  std::filesystem::remove(dir / "str.ini");
  std::filesystem::create_directory(dir / "str.ini");
  menu = openMenu();
  profiles = menu->actions()[0]->menu();
  profiles->popup(QPoint(0, 0));
  profiles->setActiveAction(profiles->actions()[0]);
  bool reopenedOverTheBox = false;
  QTimer::singleShot(100, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box != nullptr) {
      reopenedOverTheBox = openMenu() != nullptr;
      box->close();
    }
  });
  QTest::keyClick(profiles, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.ActiveProfile() == "Desktop"; }, 3000));
  EXPECT_TRUE(reopenedOverTheBox);
  EXPECT_EQ(mouse.Memory().status.reportRateCode, 8);
}

TEST_F(QtMainWindowTest, StatusNotificationsArriveThroughTheSocketAndAreAnswered) {
  ASSERT_TRUE(dialog.OnInitDialog());
  // No tray here, and the session bus of this test leads nowhere: a notice to show cannot be
  // shown, and its sender hears why; one the table leaves out shows nothing and is answered ok.
  struct Case {
    StatusNotification sent;
    bool answeredOk;
  };
  for (const Case& c : {Case{{9, 12}, false}, Case{{5, 3}, true}, Case{{8, 1}, false}}) {
    std::string error;
    const bool ok = WhileServing([&] { return SendStatusNotification(c.sent, error); });
    EXPECT_EQ(ok, c.answeredOk) << c.sent.type << " " << c.sent.value << ": " << error;
    if (!c.answeredOk) {
      EXPECT_THAT(error, ::testing::HasSubstr("no notification area"));
    }
    EXPECT_EQ(window.LastStatus(), c.sent);
  }

  // q8ctl notify is the same interface for scripts, and says why a notice was not shown.
  std::ostringstream out;
  std::ostringstream err;
  const std::vector<std::string> args{"notify", "5", "8"};
  EXPECT_EQ(WhileServing([&] { return RunQ8ctl(args, out, err); }), kExitDeviceFailure);
  EXPECT_THAT(err.str(), ::testing::HasSubstr("no notification area"));
  EXPECT_EQ(window.LastStatus(), (StatusNotification{5, 8}));
  const std::vector<std::string> bad{"notify", "5"};
  EXPECT_EQ(RunQ8ctl(bad, out, err), kExitUsage);
}

// A dialog with nothing in it: it runs until it is ended.
class PlainDialog final : public DialogController {
 public:
  int TemplateId() const override { return 701; }
  void OnInitDialog(DialogHost&) override {}
  void OnEraseBackground() override {}
  void OnLButtonDown(Point) override {}
  void OnMouseMove(Point) override {}
  void OnMouseHover(Point) override {}
  void OnPointerMove(Point) override {}
  void OnListNotification(ControlId, ListEvent) override {}
  void OnMouseWheel(int) override {}
  ControlColors ControlColor(ControlId) const override { return {}; }
};

// The tray menu's Exit while a message box, the colour chooser or a dialog runs its own loop: the
// program ends there with 0, rather than return into the code that opened it, which would go on
// with the mouse closed and the single-instance socket gone.
TEST_F(QtMainWindowTest, ExitEndsTheProgramAtOnceWhileABoxOrADialogRuns) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  PlainDialog plain;
  const std::pair<const char*, std::function<void()>> opens[] = {
      {"a message box", [&] { window.ShowMessage("Left key must be selected!", "Warning"); }},
      {"the colour chooser",
       [&] {
         window.ChooseColor(Rgb{1, 2, 3});
       }},
      {"a dialog", [&] { window.RunDialog(plain); }},
  };
  for (const auto& [what, open] : opens) {
    EXPECT_EXIT(
        {
          dialog.OnInitDialog();
          QTimer::singleShot(200, &window, [&] { dialog.OnCommand(kCommandExit); });
          open();
          std::exit(3);  // the loop ended and the program went on
        },
        ::testing::ExitedWithCode(0), "")
        << what;
  }
}

TEST(Q8ctlNotifyTest, SaysSoWhenNoTrayProgramRuns) {
  test::TempDir dir;
  setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
  std::ostringstream out;
  std::ostringstream err;
  const std::vector<std::string> args{"notify", "14", "0"};
  EXPECT_EQ(RunQ8ctl(args, out, err), kExitDeviceFailure);
  EXPECT_THAT(err.str(), ::testing::HasSubstr("not running"));
}

}  // namespace
}  // namespace q8::linux_shell

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // A session bus that is not there: desktop notices fail, whatever desktop runs the tests.
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tarnix-q8-test-bus", 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
