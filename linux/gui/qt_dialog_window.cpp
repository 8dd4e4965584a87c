#include "linux/gui/qt_dialog_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMessageBox>

#include "linux/key_capture_names.h"
#include "ui/canvas.h"

namespace q8::linux_shell {
namespace {

// The name Windows gives the key, or for a key Windows' table does not know, Qt's own name.
std::string CapturedKeyName(const QKeyEvent& key) {
  const std::uint32_t code = key.nativeScanCode();
  const std::string_view name =
      WindowsKeyName(key.nativeVirtualKey(), code >= kXKeyCodeOffset ? code - kXKeyCodeOffset : 0);
  if (!name.empty()) {
    return std::string(name);
  }
  return QKeySequence(key.key()).toString(QKeySequence::NativeText).toStdString();
}

}  // namespace

DialogResult RunQtDialog(QWidget* owner, DialogController& dialog) {
  QtDialogWindow window(owner, dialog);
  dialog.OnInitDialog(window);
  if (window.EndedWith()) {
    return *window.EndedWith();  // ended during its initialisation: never shown
  }
  return ExecOverOwner(window) == static_cast<int>(DialogResult::kOk) ? DialogResult::kOk
                                                                      : DialogResult::kCancel;
}

void QtDialogWindow::EndDialog(DialogResult result) {
  endedWith_ = result;
  done(static_cast<int>(result));
}

KeyCaptureStart QtDialogWindow::StartKeyCapture() {
  // Every key event of the dialog passes the window's event filter: nothing to install.
  capturingKeys_ = true;
  return {true, 0};
}

QtDialogWindow::QtDialogWindow(QWidget* owner, DialogController& dialog)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      dialog_(dialog),
      surface_(*this, {[this](Point p) { dialog_.OnMouseHover(p); },
                       [this](Point p) { dialog_.OnPointerMove(p); }}),
      scale_(*this, [this] { dialog_.OnDisplayScaleChanged(); }) {
  controls_ = std::make_unique<QtControls>(
      *this, QtControls::Callbacks{
                 [this](ControlId id) { return dialog_.ControlColor(id); },
                 [this](ControlId id, ListEvent e) { dialog_.OnListNotification(id, e); },
                 [this](ControlId id, EditEvent e) { dialog_.OnEditNotification(id, e); }});
  resize(371, 307);  // until the background gives the dialog its size
  // Every key of the dialog, before the control with the focus handles it.
  qApp->installEventFilter(this);
}

QtDialogWindow::~QtDialogWindow() {
  qApp->removeEventFilter(this);
}

bool QtDialogWindow::IsFirstReceiver(const QWidget& widget) const {
  // A key event goes to the focus widget first and then to its parents while they ignore it; the
  // filter sees it at each of them, and acts only at the first.
  const QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && (focus == this || isAncestorOf(focus))) {
    return &widget == focus;
  }
  return &widget == this;
}

void QtDialogWindow::CopyToWindow(const Canvas& source, Rect area) {
  surface_.CopyToWindow(source, area);
}

void QtDialogWindow::ResizeClient(int width, int height) {
  surface_.ResizeClient(width, height);
}

void QtDialogWindow::TrackMouse(bool, unsigned hoverMs) {
  surface_.ArmHover(hoverMs);
}

void QtDialogWindow::ShowMessage(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::NoIcon, QStringOf(caption), QStringOf(text), QMessageBox::Ok, this);
  ExecOverOwner(box);
}

bool QtDialogWindow::AskYesNo(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Question, QStringOf(caption), QStringOf(text),
                  QMessageBox::Yes | QMessageBox::No, this);
  return ExecOverOwner(box) == QMessageBox::Yes;
}

std::optional<std::filesystem::path> QtDialogWindow::ChooseFile(const FileChoice& choice) {
  // Without a pattern: any file, since Linux programs have no extension of their own.
  const QString pattern = choice.pattern.empty() ? QStringLiteral("*") : QStringOf(choice.pattern);
  QFileDialog dialog(this, QString(), QString(),
                     QStringOf(choice.kind) + QStringLiteral(" (") + pattern + QStringLiteral(")"));
  if (choice.purpose == FileChoice::Purpose::kSave) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(QStringOf(choice.suggestedName));
    // A file saved without an extension gets the pattern's ("*.ini" gives "ini").
    dialog.setDefaultSuffix(QStringOf(choice.pattern).section(QLatin1Char('.'), -1));
  } else {
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (ExecOverOwner(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

void QtDialogWindow::SetFont(const FontRequest& font) {
  const QFont qfont = QFontOf(font);
  text_.SetFonts(qfont, qfont);
  controls_->SetFont(qfont);
  QDialog::setFont(qfont);
}

void QtDialogWindow::showEvent(QShowEvent* event) {
  if (parentWidget() != nullptr && parentWidget()->isVisible()) {
    // Centred over the main window.
    const QRect owner = parentWidget()->frameGeometry();
    move(owner.center() - rect().center());
  }
  dialog_.OnEraseBackground();
  QDialog::showEvent(event);
}

void QtDialogWindow::paintEvent(QPaintEvent*) {
  surface_.Paint();
}

void QtDialogWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint p = event->position().toPoint();
    dialog_.OnLButtonDown({p.x(), p.y()});
  }
}

void QtDialogWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  dialog_.OnMouseMove({p.x(), p.y()});
}

void QtDialogWindow::wheelEvent(QWheelEvent* event) {
  dialog_.OnMouseWheel(event->angleDelta().y());
}

void QtDialogWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool escape = event->key() == Qt::Key_Escape;
  if (!enter && !escape) {
    QDialog::keyPressEvent(event);
  } else if (dialog_.UsesDialogKeys()) {
    EndDialog(enter ? DialogResult::kOk : DialogResult::kCancel);
  }
  // Otherwise the key is the dialog's to capture, not a way out.
}

bool QtDialogWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (key && widget != nullptr && IsFirstReceiver(*widget)) {
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (capturingKeys_) {
      dialog_.OnKeyCaptured(CapturedKeyName(*keyEvent));
    }
    if (dialog_.OnPreTranslateKey(
            {event->type() == QEvent::KeyPress, WindowsVirtualKey(keyEvent->nativeVirtualKey())})) {
      return true;  // kept back: neither the dialog's keys nor its controls see it
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace q8::linux_shell
