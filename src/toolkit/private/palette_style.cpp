#include "toolkit/private/palette_style.h"

#include <QApplication>
#include <QHash>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleOption>
#include <array>

namespace velmora {
namespace {

// The colours of a palette, every group and role, as one hashable value.
QByteArray ColourKey(const QPalette& palette) {
  constexpr int kGroups = 3;
  constexpr int kRoles = QPalette::NColorRoles;
  std::array<QRgb, static_cast<std::size_t>(kGroups * kRoles)> colours{};
  std::size_t at = 0;
  for (int group = 0; group < kGroups; ++group) {
    for (int role = 0; role < kRoles; ++role) {
      colours[at++] = palette
                          .color(static_cast<QPalette::ColorGroup>(group),
                                 static_cast<QPalette::ColorRole>(role))
                          .rgba();
    }
  }
  return QByteArray(reinterpret_cast<const char*>(colours.data()),
                    static_cast<qsizetype>(colours.size() * sizeof(QRgb)));
}

// One palette object per set of colours met while drawing; a run meets a few dozen.
const QPalette& SharedPalette(const QPalette& palette) {
  static QHash<QByteArray, QPalette> shared;
  const QByteArray key = ColourKey(palette);
  auto found = shared.constFind(key);
  if (found == shared.cend()) found = shared.insert(key, palette);
  return *found;
}

// Draws with the shared palette of the option's colours. Only the option kinds whose pieces
// the style caches are copied; the others are drawn as they come.
template <typename Option>
bool DrawShared(const QStyleOption* option, auto&& draw) {
  const auto* typed = qstyleoption_cast<const Option*>(option);
  if (typed == nullptr) return false;
  Option copy(*typed);
  copy.palette = SharedPalette(option->palette);
  draw(&copy);
  return true;
}

class PaletteSharingStyle : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    const auto draw = [&](const QStyleOption* shared) {
      QProxyStyle::drawPrimitive(element, shared, painter, widget);
    };
    if (option != nullptr && (DrawShared<QStyleOptionButton>(option, draw) ||
                              DrawShared<QStyleOptionFrame>(option, draw))) {
      return;
    }
    if (option != nullptr && option->type == QStyleOption::SO_Default) {
      QStyleOption copy(*option);
      copy.palette = SharedPalette(option->palette);
      QProxyStyle::drawPrimitive(element, &copy, painter, widget);
      return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto draw = [&](const QStyleOption* shared) {
      QProxyStyle::drawControl(element, shared, painter, widget);
    };
    // The grid's header sections are cached by the control itself; a button's bevel goes
    // through drawPrimitive.
    if (option != nullptr && (DrawShared<QStyleOptionHeaderV2>(option, draw) ||
                              DrawShared<QStyleOptionHeader>(option, draw))) {
      return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    const auto draw = [&](const QStyleOption* shared) {
      QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex*>(shared),
                                      painter, widget);
    };
    if (option != nullptr && (DrawShared<QStyleOptionSlider>(option, draw) ||
                              DrawShared<QStyleOptionComboBox>(option, draw) ||
                              DrawShared<QStyleOptionSpinBox>(option, draw) ||
                              DrawShared<QStyleOptionGroupBox>(option, draw))) {
      return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
  }
};

}  // namespace

void UsePaletteSharingStyle() {
  static const bool installed = [] {
    if (QApplication::instance() == nullptr) return false;
    // The application owns the style from here on.
    QApplication::setStyle(new PaletteSharingStyle);
    return true;
  }();
  (void)installed;
}

}  // namespace velmora
