#include "qt_controls.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>

#include "qt_toolkit.h"
#include "result_layout.h"

namespace kalvena::qt {

namespace {

// Where the text of a result box begins: past the frame and a pixel of space.
constexpr qreal kOutputTextIndent = 2;

// A character drawn once on a clear image at a device pixel ratio, its origin on a whole
// device pixel, as the coverage of its pixels.
const ui::Glyph& glyphOf(const QFont& font, qreal dpr, QChar c) {
  // A text keeps references to its glyphs while more are added: the map's elements stay where
  // they are when it grows (a QHash moves them).
  static std::unordered_map<QString, ui::Glyph> known;
  const QString key = font.key() + u'|' + QString::number(dpr) + u'|' + c;
  if (const auto found = known.find(key); found != known.end()) return found->second;
  const QFontMetricsF fm(font);
  const int pad = static_cast<int>(std::ceil(fm.height() * dpr));
  const int width = static_cast<int>(std::ceil(fm.horizontalAdvance(c) * dpr)) + 2 * pad;
  QImage image(width, 2 * pad, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  // Drawn at the device's size in an image of scale 1, so that nothing is scaled afterwards.
  QFont device = font;
  device.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * dpr)));
  {
    QPainter painter(&image);
    painter.setFont(device);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(pad, pad), QString(c));
  }
  // A smoothed point at 8 to 11 pixels is a pale grey blur that the eye passes over ("0.8"
  // reads as "08"): the decimal separator's pixels are either ink or ground.
  const bool separator = c == u'.' || c == u',';
  std::vector<std::uint8_t> coverage;
  coverage.reserve(static_cast<std::size_t>(width * image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      const int a = qAlpha(line[x]);
      coverage.push_back(static_cast<std::uint8_t>(separator ? (a < 64 ? 0 : 255) : a));
    }
  }
  const int advance = static_cast<int>(std::lround(QFontMetricsF(device).horizontalAdvance(c)));
  return known
      .emplace(key, ui::makeGlyph(advance, -pad, -pad, width, image.height(), std::move(coverage)))
      .first->second;
}

// A result box's face at its sizes, from its own down to the smallest drawn, at a device
// pixel ratio. Unhinted: hinted to whole pixels, an 8 at 11 pixels reads as a B, and a 3 at 8
// as a 2.
class BoxGlyphs final : public ui::GlyphSource {
 public:
  BoxGlyphs(const QFont& font, qreal dpr) : font_(font), dpr_(dpr) {
    largest_ = font.pixelSize() > 0 ? font.pixelSize() : ui::kFontPixels;
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setLetterSpacing(QFont::AbsoluteSpacing, 0);  // the spacing is the layout's own
  }
  int sizeCount() const override { return largest_ - ui::smallestPixels(largest_) + 1; }
  const ui::Glyph& glyph(int size, std::string_view character) override {
    return glyphOf(font(size), dpr_,
                   QString::fromUtf8(character.data(), std::ssize(character)).front());
  }
  bool smoothed(int) const override { return true; }  // antialiased at every size
  QFont font(int size) const {
    QFont f = font_;
    f.setPixelSize(largest_ - size);
    return f;
  }
  qreal dpr() const { return dpr_; }

 private:
  QFont font_;
  qreal dpr_;
  int largest_;
};

// What a result box draws of its text, in the room it has past the frame and a pixel of space
// on either side, in device pixels.
ui::ResultLine layOut(const QLineEdit& box, BoxGlyphs& glyphs) {
  const qreal dpr = glyphs.dpr();
  const int available = static_cast<int>(std::floor((box.width() - 2 * kOutputTextIndent) * dpr));
  return ui::layOutResult(box.text().toStdString(), available, ui::clearColumn(dpr), glyphs);
}

// Draws a laid-out text in a colour with its baseline's start at a device pixel, as an image of
// the device's pixels laid on the box unscaled.
void draw(QPainter& painter, const ui::ResultLine& line, BoxGlyphs& glyphs, QPoint start,
          const QColor& colour) {
  if (line.characters.empty()) return;
  const int pad = -glyphs.glyph(line.size, "0").top;
  QImage image(line.width + 2 * pad, 2 * pad, QImage::Format_ARGB32_Premultiplied);
  const std::vector<std::uint8_t> coverage =
      ui::coverLine(line, glyphs, image.width(), image.height(), pad, pad);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb a = coverage[static_cast<std::size_t>(y * image.width() + x)];
      row[x] = qPremultiply((colour.rgb() & 0xFFFFFF) | a << 24);
    }
  }
  image.setDevicePixelRatio(glyphs.dpr());
  painter.drawImage(QPointF(start - QPoint(pad, pad)) / glyphs.dpr(), image);
}

}  // namespace

QtTextBox::QtTextBox(QWidget* parent) : QLineEdit(parent) {
  // A paste is never cut: the whole text reaches the check, which rejects or stores it.
  setMaxLength(std::numeric_limits<int>::max());
  // A typed "3000" stays four digits: a pixel between characters, unhinted as the results are.
  // Only these two properties are the box's own; the rest comes from the window's font.
  QFont f;
  f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setResolveMask(QFont::LetterSpacingResolved | QFont::HintingPreferenceResolved);
  setFont(f);
}

void QtTextBox::setOutput() {
  output_ = true;
  // What a screen reader was told of the box so far described an editable box.
  QAccessible::deleteAccessibleInterface(
      QAccessible::uniqueId(QAccessible::queryAccessibleInterface(this)));
  setReadOnly(true);
  setFrame(false);
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Window));
  setPalette(p);
  // Whatever sets the text, the box shows where it begins.
  connect(this, &QLineEdit::textChanged, this, [this] { setCursorPosition(0); });
  // A selection of any part of the result takes all of it, from its end towards its start, so
  // that its beginning stays in view.
  connect(this, &QLineEdit::selectionChanged, this, [this] {
    const int n = static_cast<int>(text().size());
    const ui::TextSelection now{selectionStart(), static_cast<int>(selectedText().size())};
    const ui::TextSelection whole = ui::resultSelection(now, n);
    if (whole.length != 0 && now != whole) setSelection(n, -n);
  });
}

static_assert(Qt::Key_A == 'A' && Qt::Key_Z == 'Z');

ui::KeyPress keyPressOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  const bool latin = event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z;
  // X and Wayland give a key's code as xkb numbers it: the kernel's code plus 8. Qt's codes of
  // the letters are theirs in ASCII.
  return {latin ? static_cast<char>(event.key()) : '\0',
          static_cast<int>(event.nativeScanCode()) - 8, (held & Qt::ControlModifier) != 0,
          (held & Qt::ShiftModifier) != 0, (held & (Qt::AltModifier | Qt::MetaModifier)) != 0};
}

void QtTextBox::keyPressEvent(QKeyEvent* event) {
  // The box's own shortcuts, by their letter whatever the layout; any other key is the line
  // edit's, and what it does not take goes on to the window.
  const ui::Place place = output_ ? ui::Place::ResultBox : ui::Place::InputBox;
  if (const std::optional<ui::Command> command = ui::commandOfKey(place, keyPressOf(*event))) {
    event->accept();
    switch (*command) {
      case ui::Command::Undo:
        undo();
        break;
      case ui::Command::Cut:
        cut();
        break;
      case ui::Command::Copy:
        copy();
        break;
      case ui::Command::Paste:
        paste();
        break;
      case ui::Command::SelectAll:
        selectAll();
        break;
      default:
        break;
    }
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void QtTextBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Tabbing in selects the whole text with the cursor at its end, which would scroll the
  // beginning out of view; the same selection is made from the end towards the start.
  if (output_ && hasSelectedText()) {
    const int n = static_cast<int>(text().size());
    setSelection(n, -n);
  }
}

void QtTextBox::paintEvent(QPaintEvent* event) {
  if (!output_) {
    QLineEdit::paintEvent(event);
    return;
  }
  // Drawn here rather than by the style: the text from its beginning, spaced (a text too wide
  // with "…" in its middle), the digits in the middle of the box at every scale, the
  // selection, the frame.
  QPainter painter(this);
  const QPalette& p = palette();
  painter.fillRect(rect(), p.color(QPalette::Base));
  const qreal dpr = devicePixelRatioF();
  BoxGlyphs glyphs(font(), dpr);
  const ui::ResultLine shown = layOut(*this, glyphs);
  const QFontMetricsF fm(glyphs.font(shown.size), this);
  const QPoint start(static_cast<int>(std::lround(kOutputTextIndent * dpr)),
                     static_cast<int>(std::lround((height() + fm.capHeight()) / 2.0 * dpr)));
  painter.setClipRect(rect().adjusted(1, 1, -1, -1));
  QColor ink = p.color(QPalette::Text);
  if (hasSelectedText() && !shown.characters.empty()) {
    // The result is selected whole: all that is shown of it is marked.
    const qreal x0 = (start.x() + shown.characters.front().inkLeft) / dpr - 1;
    const qreal x1 = (start.x() + shown.characters.back().inkRight) / dpr + 1;
    painter.fillRect(QRectF(x0, 1, x1 - x0, height() - 2), p.color(QPalette::Highlight));
    ink = p.color(QPalette::HighlightedText);
  }
  draw(painter, shown, glyphs, start, ink);
  painter.setClipping(false);
  // A frame a shade off the ground: darker on a light one, lighter on a dark one.
  const QColor ground = p.color(QPalette::Window);
  const QColor frame = ground.lightness() >= 128 ? ground.darker(140) : ground.lighter(180);
  painter.setPen(hasFocus() ? p.color(QPalette::Highlight) : frame);
  painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

void QtTextBox::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  // The box's own edits are the line edit's menu, as every Qt program offers them; the window's
  // commands that the box's menu offers go first, above them.
  QAction* first = menu->actions().value(0);
  bool added = false;
  for (const ui::MenuEntry& entry :
       ui::menuOf(output_ ? ui::Place::ResultBox : ui::Place::InputBox)) {
    const ui::CommandSpec& spec = ui::commandSpec(entry.command);
    if (!spec.window || !windowCommands_.run) continue;
    auto* action = new QAction(QString::fromUtf8(spec.caption), menu.get());
    action->setShortcut(QKeySequence(QString::fromLatin1(spec.keys)));  // shown, as Copy's is
    action->setEnabled(windowCommands_.holds(spec.enabled));
    connect(action, &QAction::triggered, this,
            [run = windowCommands_.run, command = spec.command] { run(command); });
    menu->insertAction(first, action);
    added = true;
  }
  if (added) menu->insertSeparator(first);
  menu->exec(event->globalPos());
}

QString QtTextBox::shownText() const {
  if (!output_) return text();
  BoxGlyphs glyphs(font(), devicePixelRatioF());
  return QString::fromStdString(layOut(*this, glyphs).text());
}

QtCommandButton::QtCommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

void QtCommandButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
    event->accept();
    click();
    return;
  }
  QPushButton::keyPressEvent(event);
}

PictureFocus::PictureFocus(QWidget* form, std::function<void()> open)
    : QWidget(form), open_(std::move(open)) {
  setProperty("kalvenaPictureFocus", true);
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PictureFocus::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  // A dotted frame inside the picture's edge, as every style shows the focus on a picture.
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void PictureFocus::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void PictureFocus::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void PictureFocus::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      event->accept();
      open_();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace kalvena::qt
