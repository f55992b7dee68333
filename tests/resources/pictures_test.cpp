#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct PictureCase {
  std::string name;
  int width;
  int height;
};

std::vector<PictureCase> AllPictures() {
  std::vector<PictureCase> cases;
  for (int style = 1; style <= 3; ++style) {
    const std::string n = std::to_string(style);
    cases.push_back({"background-" + n + ".jpg", 1024, 768});
    cases.push_back({"settings-face-" + n + ".png", 48, 24});
    cases.push_back({"help-face-" + n + ".png", 48, 24});
  }
  for (int n = 1; n <= 32; ++n) {
    cases.push_back(
        {std::string("category-face-") + (n < 10 ? "0" : "") + std::to_string(n) + ".jpg", 72, 24});
  }
  cases.push_back({"button-state.jpg", 72, 24});
  for (const char* state : {"normal", "hover", "pressed"}) {
    cases.push_back({std::string("close-") + state + ".png", 44, 18});
    cases.push_back({std::string("minimize-") + state + ".png", 27, 18});
  }
  for (int size : {16, 32, 48, 72, 128}) {
    cases.push_back({"icon-" + std::to_string(size) + ".png", size, size});
  }
  for (const char* icon :
       {"settings", "unit-manager", "calculator", "about", "exit", "open", "rates"}) {
    cases.push_back({std::string("menu-") + icon + ".png", 16, 16});
  }
  cases.push_back({"about-48.png", 48, 48});
  for (int n = 1; n <= 32; ++n) {
    cases.push_back(
        {std::string("manager-face-") + (n < 10 ? "0" : "") + std::to_string(n) + ".jpg", 72, 24});
  }
  for (const char* icon : {"add", "delete", "up", "down", "apply"}) {
    cases.push_back({std::string("unit-") + icon + ".png", 16, 16});
  }
  return cases;
}

QString ResourcePath(const std::string& name) {
  return QStringLiteral(":/pictures/") + QString::fromStdString(name);
}

QImage LoadPicture(const std::string& name) {
  return QImage(ResourcePath(name));
}

double Luminance(QRgb rgb) {
  const auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

// Mean luminance of the area, and the luminance below which 95 % of its pixels lie.
struct AreaLight {
  double mean;
  double p95;
};

AreaLight MeasureArea(const QImage& image, const QRect& area) {
  std::vector<double> values;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x)
      values.push_back(Luminance(image.pixel(x, y)));
  }
  std::sort(values.begin(), values.end());
  double sum = 0;
  for (double v : values) sum += v;
  return {sum / static_cast<double>(values.size()), values[values.size() * 95 / 100]};
}

double ContrastRatio(double lighter, double darker) {
  return (lighter + 0.05) / (darker + 0.05);
}

class PictureSizeTest : public ::testing::TestWithParam<PictureCase> {};

// State: the program linked with velmora_app only, no Q_INIT_RESOURCE anywhere.
// Action: load each picture by its resource path.
// Expected: it exists, decodes and has the size its control draws it at.
TEST_P(PictureSizeTest, LoadsFromResourcesAtItsSize) {
  const PictureCase& c = GetParam();
  const QPixmap pixmap(ResourcePath(c.name));
  ASSERT_FALSE(pixmap.isNull()) << c.name;
  EXPECT_EQ(pixmap.width(), c.width) << c.name;
  EXPECT_EQ(pixmap.height(), c.height) << c.name;
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureSizeTest, ::testing::ValuesIn(AllPictures()),
                         [](const ::testing::TestParamInfo<PictureCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (ch == '-' || ch == '.') ch = '_';
                           }
                           return name;
                         });

std::string TwiceName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return name.substr(0, dot) + "@2x" + name.substr(dot);
}

// Mean absolute difference per channel (0 to 255) of two images of the same size, alpha included
// (premultiplied, so that transparent pixels compare equal whatever their colour).
double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  double sum = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int column = 0; column < x.width(); ++column) {
      const QRgb p = x.pixel(column, row);
      const QRgb q = y.pixel(column, row);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
    }
  }
  return sum / (4.0 * x.width() * x.height());
}

// Halves an image by averaging each 2 x 2 block, as a 1x screen would see a 2x picture.
QImage Halved(const QImage& image) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage half(source.width() / 2, source.height() / 2, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < half.height(); ++y) {
    for (int x = 0; x < half.width(); ++x) {
      int sum[4] = {};
      for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
        const QRgb p = source.pixel(2 * x + d.x(), 2 * y + d.y());
        sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p), sum[3] += qAlpha(p);
      }
      half.setPixel(x, y,
                    qRgba((sum[0] + 2) / 4, (sum[1] + 2) / 4, (sum[2] + 2) / 4, (sum[3] + 2) / 4));
    }
  }
  return half;
}

// Mean absolute difference of all neighbouring pixels, across and down: how sharp a picture is.
double Sharpness(const QImage& image) {
  const QImage x = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  double sum = 0;
  for (int row = 0; row + 1 < x.height(); ++row) {
    for (int column = 0; column + 1 < x.width(); ++column) {
      const QRgb p = x.pixel(column, row);
      for (const QRgb q : {x.pixel(column + 1, row), x.pixel(column, row + 1)}) {
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
               std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
      }
    }
  }
  return sum / (8.0 * (x.width() - 1) * (x.height() - 1));
}

class PictureAtTwiceTest : public ::testing::TestWithParam<PictureCase> {};

// State: every picture of the program and its name@2x file.
// Action: load both; halve the 2x one; enlarge the 1x one smoothly.
// Expected: the 2x picture has twice the size and shows the same picture as the 1x one once
// halved, but it is not the 1x picture enlarged: it differs from the 1x picture with doubled
// pixels, and it is sharper than the 1x picture smoothly enlarged.
TEST_P(PictureAtTwiceTest, IsDrawnAtTwiceTheSize) {
  const PictureCase& c = GetParam();
  const QImage once = LoadPicture(c.name);
  const QImage twice = LoadPicture(TwiceName(c.name));
  ASSERT_FALSE(once.isNull()) << c.name;
  ASSERT_FALSE(twice.isNull()) << TwiceName(c.name);
  ASSERT_EQ(twice.size(), QSize(2 * c.width, 2 * c.height)) << c.name;

  // The 16-pixel icon is drawn pixel by pixel by hand; its 2x version from the vector design.
  const double same_picture = MeanDifference(Halved(twice), once);
  EXPECT_LT(same_picture, c.name == "icon-16.png" ? 30.0 : 12.0) << c.name;
  const QImage doubled = once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  EXPECT_GT(MeanDifference(twice, doubled), 0.5) << c.name;
  const QImage smoothed =
      once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_GT(Sharpness(twice), Sharpness(smoothed)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureAtTwiceTest, ::testing::ValuesIn(AllPictures()),
                         [](const ::testing::TestParamInfo<PictureCase>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (ch == '-' || ch == '.') ch = '_';
                           }
                           return name;
                         });

TEST(ProgramIcon, HasTransparentCornersAndOpaqueCentreAtEverySize) {
  QIcon icon;
  for (int size : {16, 32, 48, 72, 128}) {
    const QImage image = LoadPicture("icon-" + std::to_string(size) + ".png");
    ASSERT_FALSE(image.isNull()) << size;
    EXPECT_TRUE(image.hasAlphaChannel()) << size;
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "rounded tile leaves the corner clear at " << size;
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    icon.addFile(ResourcePath("icon-" + std::to_string(size) + ".png"));
  }
  EXPECT_EQ(icon.availableSizes().size(), 5);
}

// The window's title, message and notice labels draw white text straight on the background.
TEST(Backgrounds, TextBandsLeaveWhiteTextReadable) {
  struct Band {
    const char* label;
    QRect area;
  };
  const Band bands[] = {{"title", {16, 0, 600, 24}},
                        {"message", {224, 24, 536, 24}},
                        {"notice", {32, 448, 168, 24}},
                        {"advert", {361, 448, 575, 21}}};
  for (int style = 1; style <= 3; ++style) {
    const QImage background = LoadPicture("background-" + std::to_string(style) + ".jpg");
    ASSERT_FALSE(background.isNull()) << style;
    for (const Band& band : bands) {
      const AreaLight light = MeasureArea(background, band.area);
      EXPECT_GE(ContrastRatio(1.0, light.p95), 4.5)
          << "style " << style << ", " << band.label << " label";
    }
  }
}

// Category captions are black text drawn over the faces.
TEST(CategoryFaces, AreLightEnoughForBlackTextAndDifferFromEachOther) {
  std::vector<QRgb> averages;
  for (int n = 1; n <= 32; ++n) {
    const std::string name =
        std::string("category-face-") + (n < 10 ? "0" : "") + std::to_string(n) + ".jpg";
    const QImage face = LoadPicture(name);
    ASSERT_FALSE(face.isNull()) << name;
    const QRect inside(2, 2, 68, 20);
    EXPECT_GE(ContrastRatio(MeasureArea(face, inside).mean, 0.0), 7.0) << name;
    const QImage one = face.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    averages.push_back(one.pixel(0, 0));
  }
  for (std::size_t i = 0; i < averages.size(); ++i) {
    for (std::size_t j = i + 1; j < averages.size(); ++j) {
      const int distance = std::abs(qRed(averages[i]) - qRed(averages[j])) +
                           std::abs(qGreen(averages[i]) - qGreen(averages[j])) +
                           std::abs(qBlue(averages[i]) - qBlue(averages[j]));
      EXPECT_GE(distance, 6) << "faces " << i + 1 << " and " << j + 1 << " look the same";
    }
  }
}

// The unit manager's category captions are black text over its own faces, the commands' icons
// stand on light grey buttons.
TEST(ManagerPictures, FacesAreLightEnoughForBlackTextAndIconsAreOpaqueInside) {
  for (int n = 1; n <= 32; ++n) {
    const std::string name =
        std::string("manager-face-") + (n < 10 ? "0" : "") + std::to_string(n) + ".jpg";
    const QImage face = LoadPicture(name);
    ASSERT_FALSE(face.isNull()) << name;
    EXPECT_GE(ContrastRatio(MeasureArea(face, QRect(6, 2, 64, 20)).mean, 0.0), 7.0) << name;
  }
  for (const char* icon : {"add", "delete", "up", "down", "apply"}) {
    const QImage image = LoadPicture(std::string("unit-") + icon + ".png");
    ASSERT_FALSE(image.isNull()) << icon;
    EXPECT_EQ(qAlpha(image.pixel(8, 8)), 255) << icon;
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << icon;
  }
}

TEST(ButtonStateFace, IsNearWhite) {
  const QImage face = LoadPicture("button-state.jpg");
  ASSERT_FALSE(face.isNull());
  EXPECT_GE(MeasureArea(face, QRect(1, 1, 70, 22)).mean, 0.85);
}

}  // namespace
