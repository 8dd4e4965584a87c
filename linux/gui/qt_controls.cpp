#include "linux/gui/qt_controls.h"

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>

namespace q8::linux_shell {
namespace {

QColor QColorOf(Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

QListWidget* AsList(QWidget* widget) {
  return qobject_cast<QListWidget*>(widget);
}

// A dialog's value box, drawn as a Windows static with a sunken edge draws it: a one-pixel edge,
// the shadow colour above and left and the highlight colour below and right, both the system's
// (not the control's own colours); inside it the text on one line, vertically centred and cut at
// the edge.
class ValueBox final : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect box = rect();
    const QPalette& system = QApplication::palette();
    painter.setPen(system.color(QPalette::Dark));
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(system.color(QPalette::Light));
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
    const QRect client = box.adjusted(1, 1, -1, -1);
    painter.setClipRect(client);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    painter.drawText(client, static_cast<int>(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine,
                     text());
  }
};

}  // namespace

int ExecOverOwner(QDialog& dialog) {
  dialog.setWindowModality(Qt::WindowModal);
  return dialog.exec();
}

QString QStringOf(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QWidget* QtControls::Find(ControlId id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.data();
}

void QtControls::Place(ControlId id, QWidget* widget, Rect rect) {
  DestroyControl(id);
  widget->setFont(font_);
  widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  controls_[id] = widget;
  ApplyColors(id, *widget);
  widget->show();
}

void QtControls::ApplyColors(ControlId id, QWidget& widget) {
  if (!callbacks_.colors) {
    return;
  }
  const ControlColors colors = callbacks_.colors(id);
  QPalette palette = widget.palette();
  if (colors.text) {
    palette.setColor(QPalette::WindowText, QColorOf(*colors.text));
    palette.setColor(QPalette::Text, QColorOf(*colors.text));
  }
  // The text's own background shows behind the letters only; the brush fills the control.
  const std::optional<Rgb> fill = colors.brush ? colors.brush : colors.textBackground;
  if (fill) {
    palette.setColor(QPalette::Window, QColorOf(*fill));
    palette.setColor(QPalette::Base, QColorOf(*fill));
    widget.setAutoFillBackground(true);
  }
  widget.setPalette(palette);
}

void QtControls::CreateList(ControlId id, Rect rect, bool verticalScrollBar) {
  auto* list = new QListWidget(&parent_);
  list->setFrameShape(QFrame::Box);
  list->setVerticalScrollBarPolicy(verticalScrollBar ? Qt::ScrollBarAsNeeded
                                                     : Qt::ScrollBarAlwaysOff);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setFocusPolicy(Qt::NoFocus);
  // Moves over the items reach the window's pointer tracking.
  list->setMouseTracking(true);
  list->viewport()->setMouseTracking(true);
  // A click is a choice even on the item the pointer had highlighted already, as a Windows list
  // box reports it.
  QObject::connect(list, &QListWidget::itemClicked, list, [this, id, list](QListWidgetItem* item) {
    {
      const QSignalBlocker quiet(list);
      list->setCurrentItem(item);
    }
    if (callbacks_.list)
      callbacks_.list(id, ListEvent::kSelectionChange);
  });
  QObject::connect(list, &QListWidget::itemDoubleClicked, list, [this, id](QListWidgetItem*) {
    if (callbacks_.list)
      callbacks_.list(id, ListEvent::kDoubleClick);
  });
  Place(id, list, rect);
}

void QtControls::AddListItem(ControlId id, std::string_view text) {
  if (QListWidget* list = AsList(Find(id))) {
    list->addItem(QStringOf(text));
  }
}

std::optional<int> QtControls::ListSelection(ControlId id) const {
  const QListWidget* list = AsList(Find(id));
  if (list == nullptr || list->currentRow() < 0 || list->selectedItems().isEmpty()) {
    return std::nullopt;
  }
  return list->currentRow();
}

void QtControls::SetListSelection(ControlId id, int index) {
  if (QListWidget* list = AsList(Find(id))) {
    const QSignalBlocker quiet(list);  // as on Windows, setting the selection notifies nobody
    list->setCurrentRow(index);
  }
}

std::optional<int> QtControls::ListItemAt(ControlId id, Point point) const {
  const QListWidget* list = AsList(Find(id));
  if (list == nullptr || list->count() == 0 || !list->geometry().contains(point.x, point.y)) {
    return std::nullopt;
  }
  const QPoint inViewport = list->viewport()->mapFrom(&parent_, QPoint(point.x, point.y));
  const QModelIndex index = list->indexAt(inViewport);
  if (index.isValid()) {
    return index.row();
  }
  // Below the last item: the nearest item is the last.
  return inViewport.y() < 0 ? list->indexAt(QPoint(1, 1)).row() : list->count() - 1;
}

Rect QtControls::ListItemRect(ControlId id, int index) const {
  const QListWidget* list = AsList(Find(id));
  if (list == nullptr || index < 0 || index >= list->count()) {
    return {};
  }
  const QRect item = list->visualItemRect(list->item(index));
  const QPoint topLeft = list->viewport()->mapTo(list, item.topLeft());
  return {topLeft.x(), topLeft.y(), topLeft.x() + item.width(), topLeft.y() + item.height()};
}

void QtControls::ScrollList(ControlId id, int lines) {
  if (QListWidget* list = AsList(Find(id))) {
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(bar->value() + lines);
  }
}

void QtControls::CreateStatic(ControlId id, Rect rect, std::string_view text, StaticStyle style) {
  const bool sunken = style == StaticStyle::kSunkenLeft || style == StaticStyle::kSunkenCentre;
  auto* label =
      sunken ? new ValueBox(QStringOf(text), &parent_) : new QLabel(QStringOf(text), &parent_);
  const bool centred = style == StaticStyle::kCentre || style == StaticStyle::kSunkenCentre;
  label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
  // Clicks on a label belong to the window under it, as a Windows static passes them on.
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  Place(id, label, rect);
}

void QtControls::CreateEdit(ControlId id, Rect rect, std::string_view text) {
  auto* edit = new QLineEdit(QStringOf(text), &parent_);
  // A number's edit: digits only, centred, without a border.
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  edit->setAlignment(Qt::AlignCenter);
  edit->setFrame(false);
  QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] {
    if (callbacks_.edit)
      callbacks_.edit(id, EditEvent::kChange);
  });
  QObject::connect(edit, &QLineEdit::editingFinished, edit, [this, id] {
    if (callbacks_.edit)
      callbacks_.edit(id, EditEvent::kKillFocus);
  });
  Place(id, edit, rect);
}

void QtControls::CreateTextEdit(ControlId id, Rect rect, std::string_view text) {
  auto* edit = new QLineEdit(QStringOf(text), &parent_);
  QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] {
    if (callbacks_.edit)
      callbacks_.edit(id, EditEvent::kChange);
  });
  Place(id, edit, rect);
}

void QtControls::SetControlText(ControlId id, std::string_view text) {
  QWidget* widget = Find(id);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(QStringOf(text));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    const QSignalBlocker quiet(edit);
    edit->setText(QStringOf(text));
  }
}

std::string QtControls::ControlText(ControlId id) const {
  QWidget* widget = Find(id);
  QString text;
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    text = label->text();
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    text = edit->text();
  }
  return text.toStdString();
}

void QtControls::ShowControl(ControlId id, bool visible) {
  if (QWidget* widget = Find(id)) {
    widget->setVisible(visible);
  }
}

void QtControls::RedrawControl(ControlId id) {
  if (QWidget* widget = Find(id)) {
    ApplyColors(id, *widget);
    widget->update();
  }
}

void QtControls::DestroyControl(ControlId id) {
  const auto it = controls_.find(id);
  if (it == controls_.end()) {
    return;
  }
  if (QWidget* widget = it->second.data()) {
    widget->hide();
    // Later: the control may be the one whose notification is being handled right now.
    widget->deleteLater();
  }
  controls_.erase(it);
}

std::optional<Rgb> QtControls::ChooseColor(Rgb initial) {
  QColorDialog dialog(QColorOf(initial), &parent_);
  if (ExecOverOwner(dialog) != QDialog::Accepted) {
    return std::nullopt;
  }
  const QColor chosen = dialog.selectedColor();
  return Rgb{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
             static_cast<std::uint8_t>(chosen.blue())};
}

}  // namespace q8::linux_shell
