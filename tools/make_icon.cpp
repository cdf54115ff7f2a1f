// Makes the program's icons from the sun drawing: a Windows .ico holding the sizes that Windows
// asks for at 100 to 200 % (16, 20, 24, 32, 40, 48 and 64 in 32-bit colour, 256 as PNG) and,
// for old systems, 32 and 16 in 16 colours; and PNGs for the Linux desktop.
//
//   make_icon <sun.svg> <kalvena.ico> <png directory>
//   make_icon --compare <a.png> <b.png>       the same picture, within two steps a channel
//   make_icon --compare-ico <a.ico> <b.ico>   the same images, 16-colour ones byte for byte

#include <QBuffer>
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

// An icon image's header: its size, as its colour bitmap and mask stacked, and its depth.
void putHeader(std::vector<std::uint8_t>& out, int size, unsigned bits, unsigned bytes,
               unsigned colours) {
  put32(out, 40);
  put32(out, static_cast<unsigned>(size));
  put32(out, static_cast<unsigned>(size * 2));
  put16(out, 1);
  put16(out, bits);
  put32(out, 0);
  put32(out, bytes);
  put32(out, 0);
  put32(out, 0);
  put32(out, colours);
  put32(out, 0);
}

// An icon image's 1-bit mask, bottom row first: set where the image is transparent.
template <class Transparent>
void putMask(std::vector<std::uint8_t>& out, int size, Transparent transparent) {
  const int andRow = (size + 31) / 32 * 4;
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(andRow), 0);
    for (int x = 0; x < size; ++x) {
      if (transparent(x, y))
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

// One icon image: a 4-bit bitmap, bottom row first, and its 1-bit transparency mask.
std::vector<std::uint8_t> iconImage(const QImage& image) {
  const int size = image.width();
  const int xorRow = (size * 4 + 31) / 32 * 4;
  const int andRow = (size + 31) / 32 * 4;
  std::vector<std::uint8_t> out;
  putHeader(out, size, 4, static_cast<unsigned>((xorRow + andRow) * size), 16);
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
  putMask(out, size, [&](int x, int y) { return !opaque(x, y); });
  return out;
}

// One icon image in 32-bit colour: its pixels with their alpha, bottom row first, and a mask.
std::vector<std::uint8_t> trueColourImage(const QImage& image) {
  const int size = image.width();
  const int andRow = (size + 31) / 32 * 4;
  std::vector<std::uint8_t> out;
  putHeader(out, size, 32, static_cast<unsigned>((size * 4 + andRow) * size), 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const QRgb c = image.pixel(x, y);  // not premultiplied, as an icon keeps it
      out.push_back(static_cast<std::uint8_t>(qBlue(c)));
      out.push_back(static_cast<std::uint8_t>(qGreen(c)));
      out.push_back(static_cast<std::uint8_t>(qRed(c)));
      out.push_back(static_cast<std::uint8_t>(qAlpha(c)));
    }
  }
  putMask(out, size, [&](int x, int y) { return qAlpha(image.pixel(x, y)) == 0; });
  return out;
}

std::vector<std::uint8_t> pngImage(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return {bytes.begin(), bytes.end()};
}

struct Entry {
  int size;
  int bits;
  std::vector<std::uint8_t> data;
};

// An .ico's images, each as its directory gives it.
std::vector<Entry> readIco(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> f((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
  const auto at16 = [&](std::size_t i) { return f.size() > i + 1 ? f[i] | f[i + 1] << 8 : 0; };
  const auto at32 = [&](std::size_t i) {
    return static_cast<std::size_t>(at16(i)) | static_cast<std::size_t>(at16(i + 2)) << 16;
  };
  std::vector<Entry> entries;
  for (int i = 0; i < at16(4); ++i) {
    const std::size_t d = 6 + 16 * static_cast<std::size_t>(i);
    const std::size_t bytes = at32(d + 8), offset = at32(d + 12);
    if (offset + bytes > f.size()) return {};
    entries.push_back({f[d] == 0 ? 256 : f[d],
                       at16(d + 6),
                       {f.begin() + static_cast<std::ptrdiff_t>(offset),
                        f.begin() + static_cast<std::ptrdiff_t>(offset + bytes)}});
  }
  return entries;
}

// Whether two .ico files hold the same images: the 16-colour ones byte for byte, the others
// within two steps a channel (Qt blends edges a step differently on other processors).
int compareIcos(const char* a, const char* b) {
  const std::vector<Entry> x = readIco(a), y = readIco(b);
  bool same = !x.empty() && x.size() == y.size();
  for (std::size_t i = 0; same && i < x.size(); ++i) {
    same = x[i].size == y[i].size && x[i].bits == y[i].bits;
    if (!same) break;
    // The 256-px image is a PNG: compared by its decoded pixels, as its encoded length follows
    // the pixels. The others are bitmaps of a fixed length for their size.
    if (x[i].size != 256 && x[i].data.size() != y[i].data.size()) {
      same = false;
    } else if (x[i].bits == 4) {
      same = x[i].data == y[i].data;
    } else if (x[i].size == 256) {
      const QImage p = QImage::fromData(x[i].data.data(), static_cast<int>(x[i].data.size()));
      const QImage q = QImage::fromData(y[i].data.data(), static_cast<int>(y[i].data.size()));
      same = p.size() == q.size() && !p.isNull() && !q.isNull();
      for (int j = 0; same && j < p.height(); ++j) {
        for (int k = 0; same && k < p.width(); ++k) {
          for (const int shift : {0, 8, 16, 24}) {
            same = same && std::abs(int((p.pixel(k, j) >> shift) & 0xFF) -
                                    int((q.pixel(k, j) >> shift) & 0xFF)) <= 2;
          }
        }
      }
    } else {
      for (std::size_t k = 0; same && k < x[i].data.size(); ++k) {
        same = std::abs(int(x[i].data[k]) - int(y[i].data[k])) <= 2;
      }
    }
  }
  if (same) return 0;
  std::fprintf(stderr, "make_icon: %s and %s hold other images\n", a, b);
  return 1;
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
  if (argc == 4 && std::string_view(argv[1]) == "--compare-ico")
    return compareIcos(argv[2], argv[3]);
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_icon <sun.svg> <kalvena.ico> <png directory>\n");
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "make_icon: cannot read %s\n", argv[1]);
    return 1;
  }

  // 32-bit colour first, smallest to largest, then the 16-colour images of old.
  std::vector<Entry> images;
  for (const int size : {16, 20, 24, 32, 40, 48, 64}) {
    images.push_back({size, 32, trueColourImage(render(svg, size))});
  }
  images.push_back({256, 32, pngImage(render(svg, 256))});
  images.push_back({32, 4, iconImage(render(svg, 32))});
  images.push_back({16, 4, iconImage(render(svg, 16))});
  std::vector<std::uint8_t> ico;
  put16(ico, 0);
  put16(ico, 1);
  put16(ico, static_cast<unsigned>(images.size()));
  auto offset = static_cast<unsigned>(6 + 16 * images.size());
  for (const Entry& image : images) {
    ico.push_back(static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size));
    ico.push_back(static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size));
    ico.push_back(image.bits == 4 ? 16 : 0);
    ico.push_back(0);
    put16(ico, 1);
    put16(ico, static_cast<unsigned>(image.bits));
    put32(ico, static_cast<unsigned>(image.data.size()));
    put32(ico, offset);
    offset += static_cast<unsigned>(image.data.size());
  }
  for (const Entry& image : images) ico.insert(ico.end(), image.data.begin(), image.data.end());
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
