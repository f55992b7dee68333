// Writes every picture of the program's windows into one folder, always the same bytes for
// the same inputs. Usage: picture-maker OUTPUT_DIR [--preview PREVIEW_DIR]
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

#include "backgrounds.h"
#include "buttons.h"
#include "icon.h"
#include "image_ops.h"
#include "manager_pictures.h"
#include "menu_icons.h"
#include "preview.h"

using namespace velmora::pictures;

namespace {

// Writes the pictures at the current drawing scale; at 2 each name gets "@2x" before its
// extension, as Qt's loaders expect.
bool WriteAll(const QString& dir) {
  bool ok = true;
  const auto path = [&](const QString& name) {
    if (DrawingScale() == 1) return dir + QLatin1Char('/') + name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dir + QLatin1Char('/') + name.left(dot) + QStringLiteral("@%1x").arg(DrawingScale()) +
           name.mid(dot);
  };
  const auto jpeg = [&](const QImage& image, const QString& name) {
    ok &= SaveJpeg(image, path(name));
  };
  const auto png = [&](const QImage& image, const QString& name) {
    ok &= SavePng(image, path(name));
  };

  jpeg(MakeBluePhantomBackground(), QStringLiteral("background-1.jpg"));
  jpeg(MakeGreenHillsBackground(), QStringLiteral("background-2.jpg"));
  jpeg(MakeVistaBackground(), QStringLiteral("background-3.jpg"));
  for (int style = 1; style <= 3; ++style) {
    png(MakeMenuFace(style, MenuFaceSide::kLeft),
        QStringLiteral("settings-face-%1.png").arg(style));
    png(MakeMenuFace(style, MenuFaceSide::kRight), QStringLiteral("help-face-%1.png").arg(style));
  }
  for (int n = 1; n <= 32; ++n) {
    jpeg(MakeCategoryFace(n),
         QStringLiteral("category-face-%1.jpg").arg(n, 2, 10, QLatin1Char('0')));
  }
  jpeg(MakeButtonStateFace(), QStringLiteral("button-state.jpg"));
  const std::pair<ButtonState, const char*> states[] = {{ButtonState::kNormal, "normal"},
                                                        {ButtonState::kHover, "hover"},
                                                        {ButtonState::kPressed, "pressed"}};
  for (const auto& [state, name] : states) {
    png(MakeCloseButton(state), QStringLiteral("close-%1.png").arg(QLatin1String(name)));
    png(MakeMinimizeButton(state), QStringLiteral("minimize-%1.png").arg(QLatin1String(name)));
  }
  for (int size : {16, 32, 48, 72, 128}) {
    png(MakeIcon(size), QStringLiteral("icon-%1.png").arg(size));
  }
  png(MakeAboutPicture(), QStringLiteral("about-48.png"));
  const std::pair<MenuIcon, const char*> menu_icons[] = {{MenuIcon::kSettings, "settings"},
                                                         {MenuIcon::kUnitManager, "unit-manager"},
                                                         {MenuIcon::kCalculator, "calculator"},
                                                         {MenuIcon::kAbout, "about"},
                                                         {MenuIcon::kExit, "exit"},
                                                         {MenuIcon::kOpen, "open"},
                                                         {MenuIcon::kRates, "rates"}};
  for (const auto& [icon, name] : menu_icons) {
    png(MakeMenuIcon(icon), QStringLiteral("menu-%1.png").arg(QLatin1String(name)));
  }
  for (int n = 1; n <= 32; ++n) {
    jpeg(MakeManagerFace(n), QStringLiteral("manager-face-%1.jpg").arg(n, 2, 10, QLatin1Char('0')));
  }
  const std::pair<UnitCommandIcon, const char*> command_icons[] = {
      {UnitCommandIcon::kAdd, "add"},
      {UnitCommandIcon::kDelete, "delete"},
      {UnitCommandIcon::kUp, "up"},
      {UnitCommandIcon::kDown, "down"},
      {UnitCommandIcon::kApply, "apply"}};
  for (const auto& [icon, name] : command_icons) {
    png(MakeUnitCommandIcon(icon), QStringLiteral("unit-%1.png").arg(QLatin1String(name)));
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--preview"))) {
    std::fprintf(stderr, "usage: picture-maker OUTPUT_DIR [--preview PREVIEW_DIR]\n");
    return 2;
  }
  const QString out = args[1];
  bool written = QDir().mkpath(out);
  for (const int scale : {1, 2}) {
    const ScaleScope drawing(scale);
    written = written && WriteAll(out);
  }
  if (!written) {
    std::fprintf(stderr, "picture-maker: cannot write the pictures into %s\n", qPrintable(out));
    return 1;
  }
  const bool readable = CheckTextContrast(out);
  if (args.size() == 4 && !WritePreviews(out, args[3])) {
    std::fprintf(stderr, "picture-maker: cannot write the previews\n");
    return 1;
  }
  if (!readable) {
    std::fprintf(stderr, "picture-maker: white text would be hard to read on a background\n");
    return 1;
  }
  return 0;
}
