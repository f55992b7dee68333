#include "preview.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "image_ops.h"

namespace velmora::pictures {
namespace {

QImage Load(const QString& dir, const QString& name) {
  QImage image(dir + QLatin1Char('/') + name);
  if (image.isNull()) std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
  return image;
}

QFont Song(int pixels) {
  QFont font(QStringLiteral("Noto Sans CJK SC"));
  font.setPixelSize(pixels);
  return font;
}

void Text(QPainter& painter, const QRect& rect, const QString& text, int pixels,
          const QColor& colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  painter.setFont(Song(pixels));
  painter.setPen(colour);
  painter.drawText(rect, static_cast<int>(alignment), text);
}

const char* const kCaptions[32] = {
    "长度",     "面积",     "体积",       "温度",   "质量",   "力",     "压强",     "功",
    "能",       "密度",     "计算机容量", "加速度", "速度",   "时间",   "运动粘度", "动力粘度",
    "体积流量", "质量流量", "发光强度",   "亮度",   "自定义", "自定义", "自定义",   "自定义",
    "自定义",   "自定义",   "自定义",     "自定义", "自定义", "自定义", "自定义",   "自定义"};

QImage MainWindowMockup(const QString& dir, int style, int hovered_button, bool close_hovered) {
  QImage window(946, 493, QImage::Format_ARGB32_Premultiplied);
  window.fill(Qt::transparent);
  QPainter painter(&window);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0, 0, 946, 493), 7.5, 7.5);
  painter.setClipPath(outline);
  painter.drawImage(0, 0, Load(dir, QStringLiteral("background-%1.jpg").arg(style)));
  painter.fillRect(QRect(24, 56, 760, 384), QColor(236, 236, 236));

  const char* const units[] = {"米", "千米", "分米", "厘米", "毫米", "微米", "英里", "英尺"};
  const char* const values[] = {"1",    "0.001",   "10",       "100",
                                "1000", "1000000", "0.000621", "3.28084"};
  for (int i = 0; i < 8; ++i) {
    const QRect edit(48, 80 + 28 * i, 120, 16);
    painter.fillRect(edit, i == 0 ? QColor(255, 255, 255) : QColor(236, 236, 236));
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(edit.adjusted(0, 0, -1, -1));
    Text(painter, edit, QString::fromUtf8(values[i]), 12, QColor(0, 0, 255), Qt::AlignCenter);
    Text(painter, QRect(176, 80 + 28 * i, 96, 16), QString::fromUtf8(units[i]), 12, Qt::black);
  }

  for (int n = 1; n <= 32; ++n) {
    const QPoint at(n <= 16 ? 784 : 856, 56 + 24 * ((n - 1) % 16));
    const QString face =
        n == hovered_button
            ? QStringLiteral("button-state.jpg")
            : QStringLiteral("category-face-%1.jpg").arg(n, 2, 10, QLatin1Char('0'));
    painter.drawImage(at, Load(dir, face));
    Text(painter, QRect(at, QSize(72, 24)), QString::fromUtf8(kCaptions[n - 1]), 12, Qt::black,
         Qt::AlignCenter);
  }

  Text(painter, QRect(16, -1, 600, 24), QStringLiteral("维尔莫拉 v3.21 最终版"), 16, Qt::white);
  painter.drawImage(29, 24, Load(dir, QStringLiteral("settings-face-%1.png").arg(style)));
  painter.drawImage(77, 24, Load(dir, QStringLiteral("help-face-%1.png").arg(style)));
  Text(painter, QRect(29, 24, 48, 24), QStringLiteral("设置"), 12, Qt::black, Qt::AlignCenter);
  Text(painter, QRect(77, 24, 48, 24), QStringLiteral("帮助"), 12, Qt::black, Qt::AlignCenter);
  Text(painter, QRect(224, 24, 536, 24), QStringLiteral("点击此处下载更多软件"), 12, Qt::white);
  painter.drawImage(863, 0, Load(dir, QStringLiteral("minimize-normal.png")));
  painter.drawImage(890, 0,
                    Load(dir, close_hovered ? QStringLiteral("close-hover.png")
                                            : QStringLiteral("close-normal.png")));
  Text(painter, QRect(32, 448, 168, 24), QStringLiteral("© 2008-2025 Velmora"), 16, Qt::white);
  Text(painter, QRect(361, 448, 575, 21), QStringLiteral("热门小游戏！"), 12, Qt::white);
  return window;
}

QImage Zoom(const QImage& image, int factor) {
  return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage ContactSheet(const QString& dir) {
  QImage sheet(1180, 1000, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(90, 92, 96));
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // Category faces at twice their size, in their two columns, with captions.
  for (int n = 1; n <= 32; ++n) {
    const QPoint at(10 + (n <= 16 ? 0 : 144), 10 + 48 * ((n - 1) % 16));
    painter.drawImage(
        at,
        Zoom(Load(dir, QStringLiteral("category-face-%1.jpg").arg(n, 2, 10, QLatin1Char('0'))), 2));
    Text(painter, QRect(at, QSize(144, 48)), QString::fromUtf8(kCaptions[n - 1]), 24, Qt::black,
         Qt::AlignCenter);
  }
  painter.drawImage(10, 790, Zoom(Load(dir, QStringLiteral("button-state.jpg")), 2));
  Text(painter, QRect(10, 790, 144, 48), QStringLiteral("长度"), 24, Qt::black, Qt::AlignCenter);

  // Menu faces and caption buttons at three times their size on a crop of each background.
  for (int style = 1; style <= 3; ++style) {
    const QPoint at(320, 10 + 130 * (style - 1));
    const QImage background = Load(dir, QStringLiteral("background-%1.jpg").arg(style));
    painter.drawImage(at, Zoom(background.copy(0, 0, 280, 40), 3));
    painter.drawImage(at + QPoint(30, 30),
                      Zoom(Load(dir, QStringLiteral("settings-face-%1.png").arg(style)), 3));
    painter.drawImage(at + QPoint(174, 30),
                      Zoom(Load(dir, QStringLiteral("help-face-%1.png").arg(style)), 3));
    Text(painter, QRect(at + QPoint(30, 30), QSize(144, 72)), QStringLiteral("设置"), 36, Qt::black,
         Qt::AlignCenter);
    Text(painter, QRect(at + QPoint(174, 30), QSize(144, 72)), QStringLiteral("帮助"), 36,
         Qt::black, Qt::AlignCenter);
  }
  // Every caption-button state, on each background's top-right corner.
  for (int style = 1; style <= 3; ++style) {
    const QImage background = Load(dir, QStringLiteral("background-%1.jpg").arg(style));
    int y = 410 + 70 * (style - 1);
    int x = 320;
    for (const char* state : {"normal", "hover", "pressed"}) {
      QImage corner =
          background.copy(858, 0, 80, 20).convertToFormat(QImage::Format_ARGB32_Premultiplied);
      {
        QPainter p(&corner);
        p.drawImage(5, 0, Load(dir, QStringLiteral("minimize-%1.png").arg(QLatin1String(state))));
        p.drawImage(32, 0, Load(dir, QStringLiteral("close-%1.png").arg(QLatin1String(state))));
      }
      painter.drawImage(x, y, Zoom(corner, 3));
      x += 250;
    }
  }
  // The icon at its real sizes and the small ones enlarged.
  int x = 320;
  for (int size : {16, 32, 48, 72, 128}) {
    const QImage icon = Load(dir, QStringLiteral("icon-%1.png").arg(size));
    painter.fillRect(QRect(x - 4, 626, size + 8, size + 8), QColor(255, 255, 255));
    painter.drawImage(x, 630, icon);
    painter.drawImage(x, 780, icon);
    x += size + 20;
  }
  painter.drawImage(700, 780, Zoom(Load(dir, QStringLiteral("icon-16.png")), 8));
  painter.drawImage(840, 780, Zoom(Load(dir, QStringLiteral("icon-32.png")), 4));
  return sheet;
}

}  // namespace

bool WritePreviews(const QString& pictures_dir, const QString& preview_dir) {
  QDir().mkpath(preview_dir);
  bool ok = true;
  for (int style = 1; style <= 3; ++style) {
    ok &= MainWindowMockup(pictures_dir, style, style == 1 ? 5 : 0, style == 2)
              .save(preview_dir + QStringLiteral("/main-window-%1.png").arg(style));
    ok &= Load(pictures_dir, QStringLiteral("background-%1.jpg").arg(style))
              .save(preview_dir + QStringLiteral("/background-%1.png").arg(style));
  }
  ok &= ContactSheet(pictures_dir).save(preview_dir + QStringLiteral("/contact-sheet.png"));
  return ok;
}

bool CheckTextContrast(const QString& pictures_dir) {
  struct Area {
    const char* name;
    QRect rect;
  };
  const Area areas[] = {{"title", {16, 0, 600, 24}},
                        {"message", {224, 24, 536, 24}},
                        {"notice", {32, 448, 168, 24}},
                        {"advert", {361, 448, 575, 21}}};
  bool readable = true;
  for (int style = 1; style <= 3; ++style) {
    const QImage background = Load(pictures_dir, QStringLiteral("background-%1.jpg").arg(style));
    for (const Area& area : areas) {
      std::vector<double> values;
      for (int y = area.rect.top(); y <= area.rect.bottom(); ++y) {
        for (int x = area.rect.left(); x <= area.rect.right(); ++x) {
          values.push_back(Luminance(background.pixel(x, y)));
        }
      }
      std::sort(values.begin(), values.end());
      const double p95 = values[values.size() * 95 / 100];
      double mean = 0;
      for (double v : values) mean += v;
      mean /= static_cast<double>(values.size());
      // WCAG contrast of white text against the lighter parts of the area.
      const double contrast = 1.05 / (p95 + 0.05);
      std::printf("background-%d %-8s mean %.3f p95 %.3f white contrast %.1f\n", style, area.name,
                  mean, p95, contrast);
      readable &= contrast >= 4.5;
    }
  }
  return readable;
}

}  // namespace velmora::pictures
