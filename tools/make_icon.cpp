// Makes the program's icons from the sun drawing: a Windows .ico holding 32 x 32 and 16 x 16
// images of 16 colours, and PNGs for the Linux desktop.
//
//   make_icon <sun.svg> <kalvena.ico> <png directory>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string_view>
#include <vector>

namespace {

// The standard 16-colour palette.
constexpr std::array<QRgb, 16> kPalette = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

QImage render(QSvgRenderer& svg, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  svg.render(&painter);
  return image;
}

std::uint8_t nearest(QRgb c) {
  std::size_t best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < kPalette.size(); ++i) {
    const long dr = qRed(c) - qRed(kPalette[i]);
    const long dg = qGreen(c) - qGreen(kPalette[i]);
    const long db = qBlue(c) - qBlue(kPalette[i]);
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return static_cast<std::uint8_t>(best);
}

void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xff));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t>& out, unsigned v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}

// One icon image: a 4-bit bitmap, bottom row first, and its 1-bit transparency mask.
std::vector<std::uint8_t> iconImage(const QImage& image) {
  const int size = image.width();
  const int xorRow = (size * 4 + 31) / 32 * 4;
  const int andRow = (size + 31) / 32 * 4;
  std::vector<std::uint8_t> out;
  put32(out, 40);
  put32(out, static_cast<unsigned>(size));
  put32(out, static_cast<unsigned>(size * 2));
  put16(out, 1);
  put16(out, 4);
  put32(out, 0);
  put32(out, static_cast<unsigned>((xorRow + andRow) * size));
  put32(out, 0);
  put32(out, 0);
  put32(out, 16);
  put32(out, 0);
  for (const QRgb c : kPalette) {
    out.push_back(static_cast<std::uint8_t>(qBlue(c)));
    out.push_back(static_cast<std::uint8_t>(qGreen(c)));
    out.push_back(static_cast<std::uint8_t>(qRed(c)));
    out.push_back(0);
  }
  auto opaque = [&](int x, int y) { return qAlpha(image.pixel(x, y)) >= 128; };
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(xorRow), 0);
    for (int x = 0; x < size; ++x) {
      const std::uint8_t index = opaque(x, y) ? nearest(image.pixel(x, y)) : 0;
      row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 ? index : index << 4);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(andRow), 0);
    for (int x = 0; x < size; ++x) {
      if (!opaque(x, y))
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

// Whether two images are the same picture: the same size, and no channel of any pixel more
// than two steps apart. Qt's raster engine blends edges a step differently on processors with
// other vector units, so a byte-for-byte comparison of PNGs would depend on the machine.
int compareImages(const char* a, const char* b) {
  const QImage x = QImage(QString::fromLocal8Bit(a)).convertToFormat(QImage::Format_ARGB32);
  const QImage y = QImage(QString::fromLocal8Bit(b)).convertToFormat(QImage::Format_ARGB32);
  int worst = x.size() == y.size() && !x.isNull() ? 0 : 256;
  for (int j = 0; worst <= 255 && j < x.height(); ++j) {
    for (int i = 0; i < x.width(); ++i) {
      const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
      for (const int shift : {0, 8, 16, 24}) {
        worst = std::max(worst, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
      }
    }
  }
  if (worst <= 2) return 0;
  std::fprintf(stderr, "make_icon: %s and %s differ (by %d in a channel)\n", a, b, worst);
  return 1;
}

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc == 4 && std::string_view(argv[1]) == "--compare") return compareImages(argv[2], argv[3]);
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_icon <sun.svg> <kalvena.ico> <png directory>\n");
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "make_icon: cannot read %s\n", argv[1]);
    return 1;
  }

  const std::vector<std::uint8_t> images[] = {iconImage(render(svg, 32)),
                                              iconImage(render(svg, 16))};
  std::vector<std::uint8_t> ico;
  put16(ico, 0);
  put16(ico, 1);
  put16(ico, 2);
  unsigned offset = 6 + 16 * 2;
  for (int i = 0; i < 2; ++i) {
    const unsigned size = i == 0 ? 32 : 16;
    ico.push_back(static_cast<std::uint8_t>(size));
    ico.push_back(static_cast<std::uint8_t>(size));
    ico.push_back(16);
    ico.push_back(0);
    put16(ico, 1);
    put16(ico, 4);
    put32(ico, static_cast<unsigned>(images[i].size()));
    put32(ico, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (const auto& image : images) ico.insert(ico.end(), image.begin(), image.end());
  std::ofstream(argv[2], std::ios::binary)
      .write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));

  for (const int size : {16, 32, 48, 256}) {
    const QString path =
        QStringLiteral("%1/kalvena-%2.png").arg(QString::fromLocal8Bit(argv[3])).arg(size);
    if (!render(svg, size).save(path)) {
      std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
