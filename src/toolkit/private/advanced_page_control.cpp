#include "toolkit/private/advanced_page_control.h"

#include <QPainter>
#include <QResizeEvent>
#include <QTabBar>

#include "toolkit/private/painting.h"
#include "toolkit/private/realise_support.h"
#include "toolkit/utf8_text.h"

namespace velmora {
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

QWidget* MakeAdvancedPageControl(const ControlDesign& design, QWidget* parent) {
  auto* tabs = new AdvancedPageControl(parent);
  tabs->setGeometry(design.left, design.top, design.width, design.height);
  ApplyColours(tabs, design.look, QPalette::Window);
  int index = 0;
  for (const std::string& caption : design.look.pages) {
    QWidget* page = tabs->AddPage(FromUtf8(caption),
                                  FromUtf8(design.name) + QStringLiteral("_page%1").arg(++index));
    Look page_look = design.look;
    page_look.has_background = true;
    ApplyColours(page, page_look, QPalette::Window);
  }
  return tabs;
}

}  // namespace velmora
