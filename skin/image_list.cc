#include "skin/image_list.h"

#include <QBitmap>
#include <QImage>
#include <QString>

#include <array>

// The resources live in this static library; registering them explicitly
// keeps the linker from dropping them.
static void initTavro2Resources() { Q_INIT_RESOURCE(resources); }

namespace tavro2 {

namespace {

// White pixels are the strip's transparent colour.
QPixmap withWhiteTransparent(const QImage& source) {
  QImage image = source.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
    }
  }
  return QPixmap::fromImage(image);
}

QImage loadResource(const QString& name) {
  static const bool registered = (initTavro2Resources(), true);
  (void)registered;
  return QImage(QStringLiteral(":/") + name);
}

}  // namespace

QPixmap glyphPixmap(int index) {
  static const std::array<QPixmap, kGlyphImageCount> images = [] {
    std::array<QPixmap, kGlyphImageCount> cut;
    const QImage strip = loadResource(QStringLiteral("F1_IMAGELIST1.png"));
    for (int i = 0; i < kGlyphImageCount; ++i) {
      cut[i] = withWhiteTransparent(strip.copy(i * kGlyphSize, 0, kGlyphSize, kGlyphSize));
    }
    return cut;
  }();
  if (index < 0 || index >= kGlyphImageCount) return {};
  return images[index];
}

QPixmap buttonBitmap(const char* name) {
  const QImage image = loadResource(QString::fromLatin1(name) + QStringLiteral(".png"));
  if (image.isNull()) return {};
  return withWhiteTransparent(image);
}

QPixmap programIconPixmap() {
  return QPixmap::fromImage(loadResource(QStringLiteral("MAINICON.png")));
}

QIcon programIcon() { return QIcon(programIconPixmap()); }

}  // namespace tavro2
