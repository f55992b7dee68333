#pragma once

#include <string>

namespace velmora {

// The 32 category pages: page N (1 to 32) owns the row numbers 50·(N−1)+1 to 50·N. The first of
// them, PageBase, belongs to the page's template edit box; the units follow it.
inline constexpr int kCategoryCount = 32;
inline constexpr int kRowsPerPage = 50;
inline constexpr int kMaxUnitsPerPage = 49;
inline constexpr int kTemperaturePage = 4;
inline constexpr int kRowNumberCount = kCategoryCount * kRowsPerPage;  // 1600

constexpr int PageBase(int page) {
  return kRowsPerPage * (page - 1) + 1;
}

// The page a unit row number belongs to, or 0 outside 1 to 1600.
constexpr int PageOfRow(int row) {
  return row >= 1 && row <= kRowNumberCount ? (row - 1) / kRowsPerPage + 1 : 0;
}

// Width of the unit-name labels of a page; the long names of a few categories need more room.
constexpr int TemplateLabelWidth(int page) {
  switch (page) {
    case 1:
      return 96;
    case 7:
      return 176;
    case 15:
      return 224;
    case 16:
      return 240;
    default:
      return 144;
  }
}

inline constexpr int kTemplateEditWidth = 120;
inline constexpr int kTemplateRowHeight = 16;

inline std::string UnitSection(int page) {
  return "unit" + std::to_string(page);
}
inline std::string TemplateEditName(int page) {
  return "编辑框" + std::to_string(page);
}
inline std::string TemplateLabelName(int page) {
  return "透明标签" + std::to_string(page);
}
inline std::string CategoryButtonName(int page) {
  return "unit" + std::to_string(page);
}

inline constexpr const char* kPageControlName = "选择夹1";

}  // namespace velmora
