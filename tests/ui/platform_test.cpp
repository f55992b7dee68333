// The windows on desktops that move, clip and scale them for the program: compositors that move a
// window themselves, masks that do not clip drawing, screens with two device pixels per pixel.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "toolkit/picture_prefetch.h"
#include "toolkit/private/pictures.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "ui/main_window_design.h"
#include "ui/main_window_fixture.h"
#include "ui/secondary_windows.h"
#include "ui/skin.h"

namespace velmora {
namespace {

using testing::MainWindowTest;

constexpr const char* kConfig =
    "[通用设置]\n界面风格=1\n小数保留位数=6\n跨度=300\n上下间隔=24\n每列个数=15\n"
    "[unit1]\n2=米,1\n3=千米,0.001\n";

QWidget* Widget(Window* window, const char* name) {
  return qobject_cast<QWidget*>(FindControl(window, name).object());
}

// Records every move request handed to the windowing system, whose answer the case fixes.
class SystemMoveRecorder {
 public:
  explicit SystemMoveRecorder(bool answer) {
    SetSystemMoveAvailableForTesting(answer);
    SetSystemMoveObserver([this](bool started) { answers.push_back(started); });
  }
  ~SystemMoveRecorder() {
    SetSystemMoveObserver({});
    SetSystemMoveAvailableForTesting(std::nullopt);
  }
  SystemMoveRecorder(const SystemMoveRecorder&) = delete;
  SystemMoveRecorder& operator=(const SystemMoveRecorder&) = delete;

  std::vector<bool> answers;
};

class MainWindowDragTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MainWindowDragTest, TheWindowingSystemMovesTheWindowWhereItCan) {
  // State: the main window at (100, 200); the windowing system can move windows (or cannot).
  // Action: left button down on the title strip, the pointer moves by (30, 20).
  // Expected: the move is asked of the windowing system first; only where it refuses does the
  // program follow the pointer with its drag timer.
  const bool system_moves = GetParam();
  Start(kConfig);
  window()->move(100, 200);
  SystemMoveRecorder recorder(system_moves);
  const QPoint grip(300, 8);
  QCursor::setPos(window()->mapToGlobal(grip));
  QTest::mousePress(Widget(window(), "透明标签170"), Qt::LeftButton, {}, grip - QPoint(16, 0));
  EXPECT_EQ(recorder.answers, std::vector<bool>{system_moves});
  EXPECT_EQ(TimerInterval(FindControl(window(), kDragTimer)), system_moves ? 0 : 1);
  QCursor::setPos(QCursor::pos() + QPoint(30, 20));
  QTest::qWait(30);
  EXPECT_EQ(window()->pos(), system_moves ? QPoint(100, 200) : QPoint(130, 220));
  QTest::mouseRelease(Widget(window(), "透明标签170"), Qt::LeftButton, {}, grip);
  EXPECT_EQ(TimerInterval(FindControl(window(), kDragTimer)), 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, MainWindowDragTest, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "SystemMoves" : "ProgramMoves");
});

class SecondaryWindowDragTest : public ::testing::TestWithParam<bool> {};

TEST_P(SecondaryWindowDragTest, TheWindowingSystemMovesTheWindowWhereItCan) {
  // State: a window dragged by its background at (100, 100).
  // Action: left button down on the background, move by (40, 30).
  // Expected: asked of the windowing system first; the program moves it only on a refusal.
  const bool system_moves = GetParam();
  WindowDesign design;
  design.name = "Draggable";
  design.width = 300;
  design.height = 200;
  design.drag_by_background = true;
  QPointer<Window> window = LoadWindow(design, {}, nullptr, false);
  ASSERT_NE(window, nullptr);
  window->move(100, 100);
  SystemMoveRecorder recorder(system_moves);
  QTest::mousePress(window.data(), Qt::LeftButton, {}, QPoint(150, 100));
  QTest::mouseMove(window.data(), QPoint(190, 130));
  EXPECT_EQ(recorder.answers, std::vector<bool>{system_moves});
  EXPECT_EQ(window->pos(), system_moves ? QPoint(100, 100) : QPoint(140, 130));
  QTest::mouseRelease(window.data(), Qt::LeftButton, {}, QPoint(150, 100));
  delete window.data();
}

INSTANTIATE_TEST_SUITE_P(Answers, SecondaryWindowDragTest, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "SystemMoves" : "ProgramMoves");
});

TEST_F(MainWindowTest, MenusOpenUnderTheirButtonsWhereverTheButtonsStand) {
  // State: the window at (100, 200), "设置" moved to (300, 30) inside it.
  // Action: click "设置".  Expected: "&General" opens under it, 5 pixels left: (395, 254).
  Start(kConfig);
  window()->move(100, 200);
  Move(FindControl(window(), "超级按钮1"), 300, 30);
  QTest::mouseClick(qobject_cast<QAbstractButton*>(Widget(window(), "超级按钮1")), Qt::LeftButton);
  QMenu* menu = window()->findChild<QMenu*>(kGeneralMenu);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->pos(), QPoint(395, 254));
  menu->hide();
}

TEST_F(MainWindowTest, SecondaryWindowsBelongOverTheMainWindow) {
  // State: the main window shown.  Action: open each secondary window from it.
  // Expected: each has the main window as its transient parent where the platform places
  // windows, so that a compositor places a modal one over it; closing it leaves the main window
  // open.
  Start(kConfig);
  for (const SecondaryWindow& secondary : SecondaryWindows()) {
    QWindow* over = nullptr;
    bool seen = false;
    const auto inspect = [&] {
      Window* opened = FindWindow(secondary.name);
      if (opened == nullptr) return;
      seen = true;
      over =
          opened->windowHandle() != nullptr ? opened->windowHandle()->transientParent() : nullptr;
      DestroyWindow(opened);
    };
    if (secondary.modal) QTimer::singleShot(0, window(), inspect);
    OpenSecondaryWindow(secondary.name, program().secondary_windows(), window());
    if (!secondary.modal) inspect();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(seen) << secondary.name;
    // The offscreen platform places no windows; there the modal ones go without (the compositor
    // smoke test checks their placement on a real one).
    if (secondary.modal && QGuiApplication::platformName() == QLatin1String("offscreen")) {
      EXPECT_EQ(over, nullptr) << secondary.name;
    } else {
      EXPECT_EQ(over, window()->windowHandle()) << secondary.name;
    }
    EXPECT_EQ(FindWindow(secondary.name), nullptr) << secondary.name;
  }
  EXPECT_TRUE(window()->isVisible());
}

// Counts the window state changes a widget receives.
class StateChanges : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange) ++count;
    return QObject::eventFilter(watched, event);
  }
};

TEST_F(MainWindowTest, MinimisesAgainAfterTheDesktopRestoredItUntold) {
  // State: no tray; minimised to the task bar, then shown and activated again by the desktop
  // without the program being told (as a Wayland compositor does).
  // Action: the minimise button again.
  // Expected: the window is minimised again (a state change reaches it), not left on screen.
  SetTrayAvailableForTesting(false);
  Start(kConfig);
  QWidget* minimise = Widget(window(), "控件_图形按钮_最小化");
  QTest::mouseClick(minimise, Qt::LeftButton);
  ASSERT_TRUE(window()->isMinimized());
  window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
  StateChanges changes;
  window()->installEventFilter(&changes);
  QTest::mouseClick(minimise, Qt::LeftButton);
  window()->removeEventFilter(&changes);
  EXPECT_GE(changes.count, 1);
  EXPECT_TRUE(window()->isMinimized());
  EXPECT_TRUE(window()->windowHandle()->windowStates().testFlag(Qt::WindowMinimized));
}

// The window drawn into an image of the given pixel ratio, as the screen shows it.
QImage Rendered(QWidget* widget, qreal ratio,
                QWidget::RenderFlags flags = QWidget::DrawWindowBackground) {
  QImage image((QSizeF(widget->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  widget->render(&image, QPoint(), QRegion(), flags);
  return image;
}

class PaintedOutlineTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    SetOutlinePaintedForTesting(true);
    SetWindowOpacitySupportedForTesting(true);
    WindowDesign design;
    design.name = "AboutWindow";
    design.width = 379;
    design.height = 227;
    design.background = 0x00ECECEC;
    window_ = LoadWindow(design, {}, nullptr, false);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    delete window_.data();
    SetOutlinePaintedForTesting(std::nullopt);
    SetWindowOpacitySupportedForTesting(std::nullopt);
  }

  QPointer<Window> window_;
};

TEST_P(PaintedOutlineTest, BackgroundIsTranslucentInsideAnAntialiasedRoundedOutline) {
  // State: a platform whose window mask does not clip drawing; pixel ratio 1 or 2.
  // Action: shape a 379 x 227 secondary window and draw it.
  // Expected: no mask but a translucent window; the corners transparent, the inside at opacity
  // 234, and the rounded edge antialiased in device pixels (a 1x edge enlarged would change
  // only from one 2 x 2 block to the next).
  const int ratio = GetParam();
  ApplyWindowShape(window_);
  EXPECT_TRUE(window_->mask().isEmpty());
  EXPECT_TRUE(window_->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(WindowOpacity(window_), kSecondaryWindowOpacity);

  const QImage image = Rendered(window_, ratio);
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
  EXPECT_NEAR(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), kSecondaryWindowOpacity,
              1);
  int partial = 0;
  int uneven_blocks = 0;
  const int corner = 8 * ratio;
  for (int y = 0; y < corner; ++y) {
    for (int x = 0; x < corner; ++x) {
      const int alpha = qAlpha(image.pixel(x, y));
      if (alpha > 0 && alpha < kSecondaryWindowOpacity - 1) ++partial;
    }
  }
  for (int y = 0; y + 1 < corner; y += 2) {
    for (int x = 0; x + 1 < corner; x += 2) {
      const int a = qAlpha(image.pixel(x, y));
      if (a != qAlpha(image.pixel(x + 1, y)) || a != qAlpha(image.pixel(x, y + 1))) ++uneven_blocks;
    }
  }
  EXPECT_GE(partial, 3 * ratio);
  if (ratio == 2) {
    EXPECT_GE(uneven_blocks, 3);
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, PaintedOutlineTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "Ratio" + std::to_string(info.param); });

TEST(MaskedOutlineTest, KeepsTheMaskWhereItClipsDrawing) {
  // State: a platform whose mask clips drawing (X11).  Action: shape a secondary window.
  // Expected: the mask cuts the corners and the window stays opaque to the compositor.
  SetOutlinePaintedForTesting(false);
  WindowDesign design;
  design.name = "AboutWindow";
  design.width = 379;
  design.height = 227;
  QPointer<Window> window = LoadWindow(design, {}, nullptr, false);
  ApplyWindowShape(window);
  EXPECT_FALSE(window->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(window->mask().contains(QPoint(190, 100)));
  EXPECT_FALSE(window->testAttribute(Qt::WA_TranslucentBackground));
  delete window.data();
  SetOutlinePaintedForTesting(std::nullopt);
}

struct ScaleCase {
  const char* name;
  const char* path;
  QSize clip;
  QSize logical;  // of the loaded picture
  int ratio;      // its device pixel ratio
};

class PictureScaleTest : public ::testing::TestWithParam<ScaleCase> {
 protected:
  void SetUp() override {
    ForgetCachedPictures();
    SetPictureScaleForTesting(2);
  }
  void TearDown() override {
    SetPictureScaleForTesting(std::nullopt);
    ForgetCachedPictures();
  }
};

const ScaleCase kScaleCases[] = {
    {"Png", ":/pictures/close-normal.png", {}, {44, 18}, 2},
    {"Photo", ":/pictures/category-face-07.jpg", {}, {72, 24}, 2},
    {"MenuIcon", ":/pictures/menu-about.png", {}, {16, 16}, 2},
    {"BackgroundCutAtTheDeviceSize", ":/pictures/background-2.jpg", {379, 227}, {379, 227}, 2},
};

TEST_P(PictureScaleTest, TwiceTheScreenPixelsLoadThe2xPicture) {
  // State: a screen of two device pixels per pixel.  Action: load the picture.
  // Expected: its 2x file, ratio 2, with the logical size of the 1x picture (a background cut
  // at twice the window's size).
  const ScaleCase& c = GetParam();
  const QPixmap picture = LoadPicture(QString::fromUtf8(c.path), c.clip);
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.devicePixelRatio(), c.ratio);
  EXPECT_EQ(picture.deviceIndependentSize().toSize(), c.logical);
  EXPECT_EQ(picture.size(), c.logical * c.ratio);
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureScaleTest, ::testing::ValuesIn(kScaleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureScaleTest, APictureWithoutA2xFileServesAt1x) {
  // State: a picture on disk without a name@2x file.  Action: load it at scale 2.
  // Expected: the 1x picture, ratio 1 (drawn enlarged).
  testing::TempDir dir;
  QImage image(10, 6, QImage::Format_ARGB32);
  image.fill(Qt::red);
  const QString path = QString::fromStdString((dir / "plain.png").string());
  ASSERT_TRUE(image.save(path));
  const QPixmap picture = LoadPicture(path);
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.devicePixelRatio(), 1.0);
  EXPECT_EQ(picture.size(), QSize(10, 6));
}

TEST_F(PictureScaleTest, AButtonDrawsIts2xPicturePixelForPixel) {
  // State: scale 2, the close button of a window.  Action: draw it at pixel ratio 2.
  // Expected: exactly the pixels of close-normal@2x.png, neither enlarged nor blurred.
  WindowDesign design;
  design.name = "Buttons";
  design.width = 100;
  design.height = 40;
  ControlDesign button;
  button.kind = Kind::ImageButton;
  button.name = "控件_图形按钮_关闭";
  button.left = 10;
  button.top = 10;
  button.width = 44;
  button.height = 18;
  button.look.picture = ":/pictures/close-normal.png";
  design.controls.push_back(button);
  QPointer<Window> window = LoadWindow(design, {}, nullptr, false);
  QWidget* widget = Widget(window, "控件_图形按钮_关闭");
  ASSERT_NE(widget, nullptr);
  const QImage drawn = Rendered(widget, 2, {}).convertToFormat(QImage::Format_ARGB32);
  const QImage expected =
      QImage(":/pictures/close-normal@2x.png").convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(drawn.size(), expected.size());
  // Translucent pixels pass through premultiplied alpha: a step of rounding is allowed.
  int differing = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb p = drawn.pixel(x, y);
      const QRgb q = expected.pixel(x, y);
      differing += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))}) > 2;
    }
  }
  EXPECT_EQ(differing, 0);
  delete window.data();
}

}  // namespace
}  // namespace velmora
