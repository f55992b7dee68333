#include "toolkit/widgets.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTextLayout>
#include <algorithm>

#include "toolkit/colour.h"
#include "toolkit/picture_prefetch.h"
#include "toolkit/scrolling_area.h"
#include "toolkit/window.h"

namespace velmora {
namespace {

constexpr QRgb kEditBorder = qRgb(0x9C, 0xA6, 0xB4);
constexpr QColor kChosenFrame(0x3A, 0x6E, 0xC8);

void RaiseMouse(Window* host, QWidget* widget, Event event, QMouseEvent* mouse) {
  if (host == nullptr || mouse->button() != Qt::LeftButton ||
      !host->Raise(widget, event, mouse->position().toPoint(), mouse->modifiers().toInt())) {
    mouse->ignore();
    return;
  }
  mouse->accept();
}

}  // namespace

bool Hosted::Raise(QWidget* source, Event event) {
  return host_ != nullptr && host_->Raise(source, event);
}

QPixmap LoadPicture(const QString& path, QSize clip) {
  if (path.isEmpty()) return {};
  const PictureRequest request{path, clip, PictureScale()};
  const QString key = PictureKey(request);
  if (const QPixmap* cached = CachedPicture(key)) return *cached;
  std::optional<QImage> image = TakePrefetchedPicture(request);
  const QPixmap pixmap = QPixmap::fromImage(image ? std::move(*image) : DecodePicture(request));
  CachePicture(key, pixmap);
  return pixmap;
}

int CentredBaseline(const QFont& font, int height) {
  // Ink relative to the baseline: top negative, bottom the deepest descender. Measuring it shapes
  // text, so it is measured once per font (every edit box asks on each resize and font change).
  static QHash<QString, QRect> measured;
  const QString key = font.key();
  auto found = measured.constFind(key);
  if (found == measured.cend()) {
    static const QString sample = QStringLiteral("0123456789,-gy(|\u6C49");
    found = measured.insert(key, QFontMetrics(font).tightBoundingRect(sample));
  }
  const QRect& ink = *found;
  return (height - ink.height()) / 2 - ink.top();
}

EditBox::EditBox(Window* host, QWidget* parent) : QLineEdit(parent), Hosted(host) {
  // The designs give edit boxes 16 pixels of height: no room for the style's frame, so the box
  // draws a one-pixel border of its own.
  setFrame(false);
  PlaceText();
}

// QLineEdit centres the font's whole line height (ascent and descent, 17 pixels for 12-pixel
// Noto Sans CJK) and clips to its text area, which cuts the tail of a comma in a 16-pixel box:
// "1,000" reads as "1.000". The margins here make the text area exactly one line high, starting
// where the line must start for the ink to sit centred inside the border; the area may reach
// past the box, the widget itself clips there.
void EditBox::PlaceText() {
  constexpr int kBorder = 1;
  constexpr int kSide = 2;
  const QFontMetrics metrics = fontMetrics();
  const int baseline = kBorder + CentredBaseline(font(), height() - 2 * kBorder);
  const int top = baseline - metrics.ascent();
  const int bottom = height() - top - metrics.height();
  if (textMargins() != QMargins(kSide, top, kSide, bottom)) {
    setTextMargins(kSide, top, kSide, bottom);
  }
}

bool EditBox::Fits(const QString& text) const {
  // QLineEdit keeps 2 pixels on each side inside its text area and one for the caret; one more
  // covers kerning and rounding, which the sum of advances leaves out.
  constexpr int kInner = 2 * 2 + 1 + 1;
  const QMargins margins = textMargins();
  const int room = contentsRect().width() - margins.left() - margins.right() - kInner;
  if (!measured_) {
    const QFontMetricsF metrics(font());
    for (std::size_t c = 0; c < advances_.size(); ++c) {
      advances_[c] = metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
    measured_ = true;
  }
  qreal width = 0;
  for (const QChar c : text) {
    if (c.unicode() >= advances_.size()) return fontMetrics().horizontalAdvance(text) <= room;
    width += advances_[c.unicode()];
  }
  return width <= room;
}

void EditBox::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceText();
}

void EditBox::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    measured_ = false;
    PlaceText();
  }
}

void EditBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  Raise(this, Event::GotFocus);
}

void EditBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A text wider than the box shows its start again once the user has left it; a pop-up (the
  // context menu) or another window only borrows the focus, and the caret stays for the paste.
  const Qt::FocusReason reason = event->reason();
  if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
    setCursorPosition(0);
  }
  Raise(this, Event::LostFocus);
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
  if (context_menu_.isEmpty() || host_ == nullptr || host_->Menu(context_menu_) == nullptr) {
    QLineEdit::contextMenuEvent(event);
    return;
  }
  host_->PopupContextMenu(this, context_menu_, event->globalPos());
  event->accept();
}

void EditBox::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter painter(this);
  painter.setPen(QColor(kEditBorder));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

MultiLineEditBox::MultiLineEditBox(Window* host, QWidget* parent)
    : QPlainTextEdit(parent), Hosted(host) {
  // Lines break at the box's edge wherever they reach it. Breaking at word boundaries first costs
  // time quadratic in the length of an unbroken run (a pasted expression of thousands of
  // characters has no word boundary) and would stall the window for seconds.
  setWordWrapMode(QTextOption::WrapAnywhere);
}

void MultiLineEditBox::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  Raise(this, Event::GotFocus);
}

void MultiLineEditBox::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  Raise(this, Event::LostFocus);
}

LabelControl::LabelControl(Window* host, QWidget* parent) : QLabel(parent), Hosted(host) {
  setTextFormat(Qt::PlainText);
  setTextInteractionFlags(Qt::NoTextInteraction);
}

bool LabelControl::IsLink() const {
  return host_ != nullptr && testAttribute(Qt::WA_SetCursor) &&
         cursor().shape() == Qt::PointingHandCursor && host_->Handles(this, Event::LeftButtonDown);
}

void LabelControl::UpdateFocusPolicy() {
  const Qt::FocusPolicy policy = IsLink() ? Qt::TabFocus : Qt::NoFocus;
  if (focusPolicy() != policy) setFocusPolicy(policy);
}

bool LabelControl::event(QEvent* event) {
  const bool handled = QLabel::event(event);
  if (event->type() == QEvent::CursorChange) UpdateFocusPolicy();
  return handled;
}

void LabelControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (!IsLink() || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)) {
    QLabel::keyPressEvent(event);
    return;
  }
  event->accept();
  // The handler may close the window; the label goes with it only after this event.
  Window* host = host_;
  if (host->Raise(this, Event::LeftButtonDown) && host_ != nullptr) {
    host->Raise(this, Event::LeftButtonUp);
  }
}

void LabelControl::paintEvent(QPaintEvent* event) {
  const QString caption = text();
  if (wordWrap() || !(alignment() & Qt::AlignVCenter) || caption.contains(u'\n')) {
    PaintLines(event);
    return;
  }
  const QRect area = contentsRect();
  const QFontMetrics metrics = fontMetrics();
  const int width = metrics.horizontalAdvance(caption);
  int left = area.left();
  if (alignment() & Qt::AlignHCenter) {
    left += (area.width() - width) / 2;
  } else if (alignment() & Qt::AlignRight) {
    left = area.right() + 1 - width;
  }
  QPainter painter(this);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  painter.drawText(QPoint(left, area.top() + CentredBaseline(font(), area.height())), caption);
  if (hasFocus()) {
    painter.setPen(QPen(painter.pen().color(), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void LabelControl::mousePressEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonDown, event);
}

void LabelControl::mouseReleaseEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonUp, event);
}

void LabelControl::PaintLines(QPaintEvent* event) {
  const QString content = text();
  const int wrap = wordWrap() ? int(Qt::TextWordWrap) : 0;
  if (content.isEmpty() ||
      fontMetrics().boundingRect(contentsRect(), int(alignment()) | wrap, content).height() <=
          contentsRect().height()) {
    QLabel::paintEvent(event);
    return;
  }
  QString lines = content;
  lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextOption option(alignment());
  option.setWrapMode(wordWrap() ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  QTextLayout layout(lines, font());
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(contentsRect().width());
  }
  layout.endLayout();
  const int count = layout.lineCount();
  const int pixels = QFontInfo(font()).pixelSize();
  const int pitch = std::max(pixels, contentsRect().height() / std::max(count, 1));
  // Baselines sit where the ideographs fill the em square from the line's top; the block of
  // lines is centred when the label asks for it.
  const int block = (count - 1) * pitch + pixels;
  const int offset = alignment().testFlag(Qt::AlignVCenter)
                         ? std::max(0, (contentsRect().height() - block) / 2)
                         : 0;
  const int baseline = offset + (pixels * 88 + 99) / 100;
  for (int i = 0; i < count; ++i) {
    QTextLine line = layout.lineAt(i);
    line.setPosition(QPointF(0, i * pitch + baseline - line.ascent()));
  }
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  layout.draw(&painter, contentsRect().topLeft());
}

SuperButton::SuperButton(QWidget* parent) : QAbstractButton(parent) {
  setAttribute(Qt::WA_Hover);
}

void SuperButton::SetPicture(const QString& picture) {
  picture_ = picture;
  update();
}

void SuperButton::SetStatePicture(const QString& picture, Colour colour) {
  state_picture_ = picture;
  state_colour_ = colour;
  has_state_ = true;
  update();
}

void SuperButton::SetBackground(Colour colour) {
  background_ = colour;
  update();
}

void SuperButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SuperButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void SuperButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = rect();
  const bool active = (hovered_ || isDown()) && isEnabled();
  painter.fillRect(area, ToQColor(background_));

  SmoothAtFractionalScale(painter);
  const QPixmap face = LoadPicture(picture_);
  // A picture as large as the button is its face; a smaller one is an icon beside the caption.
  const bool is_face = !face.isNull() && face.deviceIndependentSize().width() >= width() / 2;
  if (is_face) {
    painter.drawPixmap(area, face);
  } else {
    // Without a face the button draws one of its own, so that it reads as a button on a panel
    // of its own colour.
    const QColor base = ToQColor(background_);
    QLinearGradient shade(0, 0, 0, area.height());
    shade.setColorAt(0.0, base.lighter(112));
    shade.setColorAt(1.0, base.darker(106));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(kEditBorder));
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
  }
  if (active && has_state_) {
    const QPixmap state = LoadPicture(state_picture_);
    painter.setOpacity(0.6);
    if (state.isNull()) {
      painter.fillRect(area, ToQColor(state_colour_));
    } else {
      painter.drawPixmap(area, state);
    }
    painter.setOpacity(1.0);
  } else if (active) {
    painter.fillRect(area, QColor(255, 255, 255, 70));
  }
  const bool chosen = isChecked();
  if (chosen) {
    // Chosen: the face sinks under a shade and a frame in the menus' highlight blue, which reads
    // on every face picture and every window background.
    painter.fillRect(area, QColor(0, 0, 0, 48));
    painter.setPen(QPen(kChosenFrame, 2));
    painter.drawRect(QRectF(area).adjusted(1, 1, -1, -1));
  }

  QRect text_area = area;
  if (!face.isNull() && !is_face) {
    const int side = qMin(16, area.height());
    const QRect icon(4, (area.height() - side) / 2, side, side);
    painter.drawPixmap(icon, face);
    text_area.setLeft(icon.right() + 2);
  }
  painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                             : palette().color(QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(text_area.translated(isDown() || chosen ? QPoint(1, 1) : QPoint()),
                   Qt::AlignCenter, text());
  if (hasFocus()) {
    painter.setPen(QPen(QColor(0, 0, 0, 90), 1, Qt::DotLine));
    painter.drawRect(area.adjusted(1, 1, -2, -2));
  }
}

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
  setAttribute(Qt::WA_Hover);
  // Reached by Tab and pressed by Space; a click leaves the focus where it was.
  setFocusPolicy(Qt::TabFocus);
}

void ImageButton::SetPictures(const QString& normal, const QString& hover, const QString& pressed) {
  normal_ = normal;
  hover_ = hover;
  pressed_ = pressed;
  update();
}

void ImageButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void ImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QString& path = isDown() ? pressed_ : hovered_ ? hover_ : normal_;
  QPixmap picture = LoadPicture(path);
  if (picture.isNull()) picture = LoadPicture(normal_);
  SmoothAtFractionalScale(painter);
  if (!picture.isNull()) {
    painter.drawPixmap(rect(), picture);
  } else {
    // Without its pictures the button still shows what it does.
    painter.fillRect(rect(), isDown()   ? QColor(120, 120, 120)
                             : hovered_ ? QColor(200, 60, 60)
                                        : QColor(150, 150, 150));
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, text());
  }
  if (hasFocus()) {
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

PageControl::PageControl(Window* host, QWidget* parent) : QStackedWidget(parent), Hosted(host) {}

void PageControl::AddPage(const QString& caption, const QString& name) {
  auto* area = new ScrollingArea(this);
  area->setObjectName(name + QStringLiteral("_view"));
  area->setWindowTitle(caption);
  area->content()->setObjectName(name);
  area->content()->setWindowTitle(caption);
  addWidget(area);
}

QWidget* PageControl::page(int index) const {
  const auto* area = dynamic_cast<ScrollingArea*>(widget(index));
  return area != nullptr ? area->content() : nullptr;
}

void PageControl::mousePressEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonDown, event);
}

void PageControl::mouseReleaseEvent(QMouseEvent* event) {
  RaiseMouse(host_, this, Event::LeftButtonUp, event);
}

namespace {

// A page of an advanced page control: its background and the frame that joins the tabs.
class TabPage final : public QWidget {
 public:
  TabPage(QWidget* parent, const QTabBar* tabs) : QWidget(parent), tabs_(tabs) {
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QColor(kEditBorder));
    const int top = tabs_->isHidden() ? 0 : tabs_->geometry().bottom();
    painter.drawRect(QRect(0, top, width() - 1, height() - 1 - top));
  }

 private:
  const QTabBar* tabs_;
};

}  // namespace

AdvancedPageControl::AdvancedPageControl(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)) {
  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->setExpanding(false);
  tabs_->setDrawBase(false);
  tabs_->setUsesScrollButtons(false);
  tabs_->setFocusPolicy(Qt::TabFocus);
  QObject::connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { Show(index); });
}

QWidget* AdvancedPageControl::AddPage(const QString& caption, const QString& name) {
  auto* page = new TabPage(this, tabs_);
  page->setObjectName(name);
  page->setGeometry(rect());
  pages_.push_back(page);
  tabs_->addTab(caption);
  Layout();
  Show(tabs_->currentIndex());
  return page;
}

QWidget* AdvancedPageControl::page(int index) const {
  return index >= 0 && index < count() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int AdvancedPageControl::currentIndex() const {
  return tabs_->currentIndex();
}

void AdvancedPageControl::setCurrentIndex(int index) {
  if (index >= 0 && index < count()) tabs_->setCurrentIndex(index);
}

void AdvancedPageControl::Show(int index) {
  for (int i = 0; i < count(); ++i) pages_[static_cast<std::size_t>(i)]->setVisible(i == index);
  tabs_->raise();
}

void AdvancedPageControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void AdvancedPageControl::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // The tabs' height follows the control's font.
  if (event->type() == QEvent::FontChange) Layout();
}

void AdvancedPageControl::Layout() {
  for (QWidget* page : pages_) page->setGeometry(rect());
  const QSize hint = tabs_->sizeHint();
  tabs_->setGeometry(2, 0, qMin(hint.width(), width() - 4), hint.height());
}

void PictureBox::SetPicture(const QString& picture) {
  picture_ = picture;
  update();
}

QRect PictureBox::PictureArea(QSize picture, QSize box) {
  if (picture.isEmpty() || box.isEmpty()) return {};
  const QSize fitted = picture.scaled(box, Qt::KeepAspectRatio);
  return QRect(QPoint((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2),
               fitted);
}

void PictureBox::paintEvent(QPaintEvent*) {
  const QPixmap picture = LoadPicture(picture_);
  if (picture.isNull()) return;
  const QRect area = PictureArea(picture.deviceIndependentSize().toSize(), size());
  if (area.isEmpty()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(area, picture);
}

namespace {

// Set on a control whose accessible name is its label's text.
constexpr char kNamedByLabel[] = "velmora_named_by_label";

}  // namespace

void PairWithLabel(QWidget* control, QLabel* label) {
  if (control == nullptr || label == nullptr) return;
  label->setBuddy(control);
  const auto* button = qobject_cast<const QAbstractButton*>(control);
  const bool own_name =
      (!control->accessibleName().isEmpty() && !control->property(kNamedByLabel).toBool()) ||
      (button != nullptr && !button->text().isEmpty());
  if (own_name) return;
  // Set rather than left to the buddy: the accessible interfaces would drop every '&' of a unit
  // name as a mnemonic, and tools hear of the change.
  control->setProperty(kNamedByLabel, true);
  control->setAccessibleName(label->text());
}

void LabelTextChanged(QLabel* label) {
  QWidget* control = label->buddy();
  if (control != nullptr && control->property(kNamedByLabel).toBool() &&
      control->accessibleName() != label->text()) {
    control->setAccessibleName(label->text());
  }
}

}  // namespace velmora
