#include "skin/image_list.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QGuiApplication>
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
  image.setDevicePixelRatio(source.devicePixelRatio());
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

// At 1.5 times the size and more the glyphs come from their twice-sized
// pictures, drawn for that (make_artwork.py); at 1 the originals, pixel for
// pixel. The scale is the program's, fixed when it starts.
bool useDoubleSize() {
  const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  return app != nullptr && app->devicePixelRatio() >= 1.5;
}

// `name` + ".png", or its "@2x" twin with a device pixel ratio of 2.
QImage loadGlyphImage(const QString& name) {
  if (useDoubleSize()) {
    QImage twice = loadResource(name + QStringLiteral("@2x.png"));
    if (!twice.isNull()) {
      twice.setDevicePixelRatio(2.0);
      return twice;
    }
  }
  return loadResource(name + QStringLiteral(".png"));
}

}  // namespace

QPixmap glyphPixmap(int index) {
  static const std::array<QPixmap, kGlyphImageCount> images = [] {
    std::array<QPixmap, kGlyphImageCount> cut;
    const QImage strip = loadGlyphImage(QStringLiteral("F1_IMAGELIST1"));
    const qreal ratio = strip.devicePixelRatio();
    const int size = qRound(kGlyphSize * ratio);
    for (int i = 0; i < kGlyphImageCount; ++i) {
      QImage tile = strip.copy(i * size, 0, size, size);
      tile.setDevicePixelRatio(ratio);
      cut[i] = withWhiteTransparent(tile);
    }
    return cut;
  }();
  if (index < 0 || index >= kGlyphImageCount) return {};
  return images[index];
}

QPixmap buttonBitmap(const char* name) {
  const QImage image = loadGlyphImage(QString::fromLatin1(name));
  if (image.isNull()) return {};
  return withWhiteTransparent(image);
}

QPixmap programIconPixmap() {
  return QPixmap::fromImage(loadResource(QStringLiteral("MAINICON.png")));
}

QIcon programIcon() { return QIcon(programIconPixmap()); }

}  // namespace tavro2
