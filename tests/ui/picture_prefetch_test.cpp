#include "toolkit/picture_prefetch.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <ostream>
#include <thread>
#include <vector>

#include "toolkit/private/pictures.h"

namespace velmora {
namespace {

struct Case {
  const char* name;
  PictureRequest request;
  QSize size;  // of the decoded picture; empty when there is none
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class PicturePrefetchTest : public testing::TestWithParam<Case> {
 protected:
  // Other tests may have put the pictures on screen already.
  void SetUp() override { ForgetCachedPictures(); }
};

const Case kCases[] = {
    {"photo", {":/pictures/category-face-07.jpg", {}}, {72, 24}},
    {"png_with_alpha", {":/pictures/close-normal.png", {}}, {44, 18}},
    {"background_cut_to_a_window", {":/pictures/background-2.jpg", {946, 493}}, {946, 493}},
    {"cut_larger_than_the_picture", {":/pictures/close-hover.png", {500, 500}}, {44, 18}},
    {"missing", {":/pictures/no-such-picture.png", {}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Pictures, PicturePrefetchTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A prefetched picture is the picture decoded on the spot: the same pixels, handed out once.
TEST_P(PicturePrefetchTest, GivesWhatDecodingOnTheSpotGives) {
  const Case& c = GetParam();
  const QImage expected = DecodePicture(c.request);
  if (c.size.isEmpty()) {
    ASSERT_TRUE(expected.isNull());
  } else {
    ASSERT_EQ(expected.size(), c.size);
  }

  PrefetchPictures({c.request});
  WaitForPrefetchedPictures();
  const std::optional<QImage> taken = TakePrefetchedPicture(c.request);
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ(*taken, expected);
  EXPECT_FALSE(TakePrefetchedPicture(c.request).has_value());
}

// A cut picture is the top-left part of the whole one; what lies outside a cut is not decoded.
TEST(PictureCutTest, IsTheTopLeftPartOfTheWholePicture) {
  const QImage whole = DecodePicture({":/pictures/background-1.jpg", {}});
  ASSERT_EQ(whole.size(), QSize(1024, 768));
  const QImage cut = DecodePicture({":/pictures/background-1.jpg", {300, 200}});
  ASSERT_EQ(cut.size(), QSize(300, 200));
  // A JPEG decoded in part may differ by rounding at the cut edge; the rest is identical.
  const QImage expected = whole.copy(0, 0, 300, 200).convertToFormat(cut.format());
  int differing = 0;
  for (int y = 0; y < 199; ++y) {
    for (int x = 0; x < 299; ++x) {
      if (cut.pixel(x, y) != expected.pixel(x, y)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);

  const QPixmap shown = LoadPicture(":/pictures/background-1.jpg", QSize(300, 200));
  EXPECT_EQ(shown.size(), QSize(300, 200));
  EXPECT_EQ(LoadPicture(":/pictures/background-1.jpg").size(), QSize(1024, 768));
}

// A picture already on screen is not decoded again.
TEST(PictureCacheTest, LeavesOutPicturesAlreadyDecodedForTheScreen) {
  const PictureRequest request{":/pictures/help-face-3.png", {}};
  ASSERT_FALSE(LoadPicture(request.path).isNull());
  PrefetchPictures({request});
  WaitForPrefetchedPictures();
  EXPECT_FALSE(TakePrefetchedPicture(request).has_value());
}

// The user-interface thread takes pictures while the prefetch thread is still decoding the list:
// each is either waited for or decoded on the spot, never lost or handed out twice.
TEST(PictureTakeTest, WhileTheListIsStillBeingDecoded) {
  std::vector<PictureRequest> requests;
  for (int n = 1; n <= 32; ++n) {
    requests.push_back(
        {QStringLiteral(":/pictures/manager-face-%1.jpg").arg(n, 2, 10, QChar('0')), QSize()});
  }
  PrefetchPictures(requests);
  for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
    const std::optional<QImage> taken = TakePrefetchedPicture(*it);
    if (taken) {
      EXPECT_EQ(*taken, DecodePicture(*it)) << it->path.toStdString();
    }
    EXPECT_FALSE(TakePrefetchedPicture(*it).has_value());
    EXPECT_FALSE(LoadPicture(it->path).isNull());
  }
}

}  // namespace
}  // namespace velmora
