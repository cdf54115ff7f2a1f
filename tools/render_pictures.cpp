// Renders the windows' drawings (ui/images/form*.svg) to PNG with Qt's SVG renderer, at the
// bitmap's pixel size (the drawing's own size) and at twice that, exactly as the Linux program
// draws them on the screen. The Windows program, which has no SVG renderer, embeds these.
//   render_pictures <folder of the SVGs> <output folder>
// writes <name>@1x.png and <name>@2x.png for each drawing.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: render_pictures <svg folder> <output folder>\n");
    return 2;
  }
  const QDir in(args[1]);
  const QStringList drawings = in.entryList({QStringLiteral("form*.svg")}, QDir::Files);
  if (drawings.isEmpty()) return 1;
  for (const QString& file : drawings) {
    QSvgRenderer svg(in.filePath(file));
    if (!svg.isValid()) {
      std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
      return 1;
    }
    for (const int scale : {1, 2}) {
      QImage canvas(svg.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
      canvas.fill(Qt::transparent);
      QPainter painter(&canvas);
      svg.render(&painter);
      painter.end();
      const QString out =
          QStringLiteral("%1/%2@%3x.png").arg(args[2], file.chopped(4), QString::number(scale));
      if (!canvas.convertToFormat(QImage::Format_RGB32).save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
      }
    }
  }
  return 0;
}
