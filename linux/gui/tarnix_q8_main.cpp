// tarnix-q8: the tray program on Linux.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPixmapCache>
#include <QSocketNotifier>
#include <QThreadPool>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/keldra_dlg.h"
#include "app/main_page_attachment.h"
#include "app/mouse_connection.h"
#include "cli/command_table.h"
#include "device/system_hid_bus.h"
#include "dialogs/dialog_environment.h"
#include "dialogs/key_function_dialog_runner.h"
#include "dialogs/skins_dialog_chooser.h"
#include "linux/gui/foreground_sources.h"
#include "linux/gui/notification_area.h"
#include "linux/gui/qt_main_window.h"
#include "linux/gui/x11_foreground.h"
#include "linux/gui/x11_running_programs.h"
#include "linux/status_socket.h"
#include "linux/tool_home.h"
#include "q8_version.h"
#include "settings/autostart_entry.h"
#include "settings/executable_path.h"
#include "ui/png_decoder.h"

namespace {

// The name of the program's desktop entry, which Wayland compositors are told as the app_id of its
// windows (and KWin reads to grant the window list the entry asks for).
const QString kDesktopFileName = QStringLiteral("tarnix-q8");

// The program's icon file: beside the executable in the build tree, in the data folder when
// installed; empty when neither is there.
QString ApplicationIconFile(const std::filesystem::path& executable) {
  for (const auto& candidate :
       {executable.parent_path() / "tarnix-q8.png",
        executable.parent_path().parent_path() / "share/tarnix-q8/tarnix-q8.png"}) {
    std::error_code error;
    if (std::filesystem::exists(candidate, error)) {
      return QString::fromStdString(candidate.string());
    }
  }
  return {};
}

// The program's icon from its PNG file, decoded as the skins are: Qt's image reader, even told the
// format, asks every image-format plugin Qt has whether it reads the file, and each one then stays
// loaded for the life of the program.
QIcon ApplicationIcon(const QString& file, q8::ImageDecoder& decoder) {
  const std::optional<q8::DecodedImage> decoded =
      file.isEmpty() ? std::nullopt : decoder.Decode(file.toStdString());
  if (!decoded) {
    return QIcon::fromTheme(QStringLiteral("input-mouse"));
  }
  const q8::Canvas& pixels = decoded->pixels;
  // Straight BGRA bytes, which Qt calls ARGB32 on a little-endian machine; copied, for the
  // decoded pixels go when this returns.
  const QImage image(reinterpret_cast<const uchar*>(pixels.Pixels().data()), pixels.Width(),
                     pixels.Height(), pixels.Width() * 4, QImage::Format_ARGB32);
  return QIcon(QPixmap::fromImage(image.copy()));
}

}  // namespace

int main(int argc, char** argv) {
  using namespace q8;
  // Answered before Qt looks for a display, so that they work without one.
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << TrayProgramUsage();
      return 0;
    }
    if (arg == "--version") {
      std::cout << "tarnix-q8 " << kVersion << '\n';
      return 0;
    }
  }
  QApplication application(argc, argv);
  // The program lives in the tray: hiding its window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);
  QGuiApplication::setDesktopFileName(kDesktopFileName);
  // Qt converts and scales large images on pooled threads, which end 30 s after their last task:
  // a window left shown would wake up for them. Kept waiting, they cost nothing while idle.
  QThreadPool::globalInstance()->setExpiryTimeout(-1);
  // Qt's pixmap cache checks what it holds every 30 s while it holds anything. The program draws
  // its window itself; what the cache would keep (the style's pixmaps of a menu or a box) is
  // quickly made again.
  QPixmapCache::setCacheLimit(0);

  std::vector<std::string> args(argv + 1, argv + argc);
  const bool atLogIn = std::erase(args, std::string(kAtLogInOption)) > 0;
  std::string error;
  std::optional<MouseOptions> options = ParseMouseOptions(args, error);
  if (!options) {
    std::cerr << "tarnix-q8: " << error << '\n';
    return 2;
  }
  // The single-instance guard before anything else: a second copy ends at once, having opened
  // and created nothing (not even the simulated mouse's state file).
  linux_shell::StatusSocketClaim claim = linux_shell::ClaimStatusSocket();
  if (claim.runningCopy) {
    return 0;
  }
  if (atLogIn) {
    linux_shell::WaitForNotificationArea(std::chrono::seconds(60));
  }
  const std::optional<std::filesystem::path> executable = ExecutablePath();
  if (!executable) {
    std::cerr << "tarnix-q8: cannot tell where the executable is\n";
    return 1;
  }
  const auto home = linux_shell::ToolHome(*executable, error);
  if (!home) {
    std::cerr << "tarnix-q8: " << error << '\n';
    return 1;
  }
  // A bare --simulate's mouse lives with the settings, where q8ctl finds it too.
  UseDefaultSimulatedMouse(*options, home->parent_path());
  MouseConnection mouse;
  if (!mouse.Open(*options, &OpenSystemHidBus, error)) {
    std::cerr << "tarnix-q8: " << error << '\n';
    return 1;
  }

  AppState state;
  state.executable = *home;
  PngDecoder decoder;
  const QString iconFile = ApplicationIconFile(*executable);
  linux_shell::QtMainWindow window(mouse, state, ApplicationIcon(iconFile, decoder));
  window.SetNoticeIcon(iconFile);
  // A claim that failed (the name held by what is not this user's copy) is reported by the window.
  window.HoldStatusSocket(std::move(claim));
  CKeldraDlg dialog(state, window, mouse, decoder);
  window.Bind(dialog);
  // The key-function dialogs and the skin chooser open over the main window, reading the same
  // state and decoder.
  const DialogEnvironment dialogs{state, decoder, window.PlatformVersion()};
  KeyFunctionDialogRunner keyDialogs(window, dialogs);
  SkinsDialogChooser skinChooser(window, dialogs);
  dialog.SetSkinChooser(&skinChooser);
  // Start at log-in, in the tray menu where the user has a configuration folder.
  std::optional<AutostartEntry> autostart;
  if (const auto entry =
          AutostartEntry::FileFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))) {
    autostart.emplace(*entry, *executable);
    dialog.SetAutostartEntry(&*autostart);
  }
  // The programs a rule can be made for: X11's windows (under Wayland, Xwayland's); a Wayland
  // compositor that lists its windows is one more source here.
  linux_shell::X11RunningPrograms x11Programs;
  MergedRunningPrograms programs;
  programs.Add(x11Programs);
  ProfilesDialogRunner profilesDialog(window, dialogs, programs);
  dialog.SetProfilesDialog(&profilesDialog);
  const auto page = AttachMainPage(dialog, keyDialogs);
  dialog.OnInitDialog();
  // Linux windows have no non-client paints of their own: the two that end start-up in the tray
  // on Windows are played here.
  dialog.OnNcPaint();
  dialog.OnNcPaint();

  // The program in front, for the profile rules, from every source the desktop has.
  linux_shell::ForegroundSources foreground(
      kDesktopFileName.toStdString(), [&dialog](const FrontProgram& program) {
        dialog.OnForegroundProgram(program.name, program.thisProgram, program.windowsProgram);
      });
  foreground.Listen();
  return QApplication::exec();
}
