#include "linux/gui/qt_text_painter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "linux/gui/qt_controls.h"
#include "ui/canvas.h"

namespace q8::linux_shell {

QFont QFontOf(const FontRequest& request) {
  QFont font(QStringOf(request.face));
  // The captions are laid out for Arial, which Linux seldom has; Liberation Sans has its
  // metrics. Named here in case the system's font configuration does not stand it in.
  if (request.face == "Arial" && !QFontDatabase::hasFamily(QStringLiteral("Arial")) &&
      QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))) {
    font.setFamily(QStringLiteral("Liberation Sans"));
  }
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(static_cast<QFont::Weight>(request.weight));
  const int cell = request.height > 0 ? request.height : 12;
  font.setPixelSize(cell);
  const int measured = QFontMetrics(font).height();
  if (measured > cell) {
    font.setPixelSize(std::max(1, cell * cell / measured));
  }
  return font;
}

QFont QtTextPainter::Sized(FontRole font, int sizesDown) const {
  QFont sized = font == FontRole::kTitle ? title_ : normal_;
  if (sizesDown > 0 && sized.pixelSize() > 0) {
    sized.setPixelSize(std::max(1, sized.pixelSize() - sizesDown));
  }
  return sized;
}

int QtTextPainter::TextWidth(std::string_view text, FontRole font, int sizesDown, double scale) {
  // Measured as drawn: on an image of the canvas's scale, the ink's overhang counted too.
  QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
  device.setDevicePixelRatio(scale);
  const QFontMetricsF metrics(Sized(font, sizesDown), &device);
  const QString qtext = QStringOf(text);
  const QRectF ink = metrics.boundingRect(qtext);
  const qreal width =
      std::max(metrics.horizontalAdvance(qtext), ink.right()) - std::min<qreal>(0, ink.left());
  return static_cast<int>(std::ceil(width * scale));
}

void QtTextPainter::DrawSized(Canvas& canvas, std::string_view text, Rect rect, FontRole font,
                              int sizesDown, Rgb colour, TextAlign align) {
  if (canvas.Width() == 0 || canvas.Height() == 0) {
    return;
  }
  // The canvas's pixels are the image's: blue, green, red, alpha in memory.
  QImage image(reinterpret_cast<uchar*>(canvas.Pixels().data()), canvas.Width(), canvas.Height(),
               canvas.Width() * 4, QImage::Format_ARGB32_Premultiplied);
  // On a scaled canvas the rectangle and the font stay in the skin's pixels and Qt draws the
  // glyphs at the canvas's resolution.
  image.setDevicePixelRatio(canvas.Scale());
  QPainter painter(&image);
  painter.setFont(Sized(font, sizesDown));
  painter.setPen(QColor(colour.red, colour.green, colour.blue));
  const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
  painter.setClipRect(box);
  const Qt::Alignment horizontal = align == TextAlign::kCentre  ? Qt::AlignHCenter
                                   : align == TextAlign::kRight ? Qt::AlignRight
                                                                : Qt::AlignLeft;
  const int flags = static_cast<int>(horizontal | Qt::AlignVCenter) | Qt::TextSingleLine;
  painter.drawText(box, flags, QStringOf(text));
}

}  // namespace q8::linux_shell
