#pragma once

#include "toolkit/design.h"

namespace velmora {

// Names of the handlers the options window's design binds.
inline constexpr const char* kOnOptionsCreated = "OnOptionsCreated";
inline constexpr const char* kApplyOptions = "ApplyOptions";
inline constexpr const char* kConfirmOptions = "ConfirmOptions";
inline constexpr const char* kCloseOptionsWindow = "CloseOptionsWindow";
inline constexpr const char* kShowStylePreview = "ShowStylePreview";
inline constexpr const char* kOnOptionsBoxGotFocus = "OnOptionsBoxGotFocus";
inline constexpr const char* kOnOptionsBoxLostFocus = "OnOptionsBoxLostFocus";
inline constexpr const char* kShowDecimalsCaption = "ShowDecimalsCaption";

inline constexpr const char* kOptionsPages = "高级选择夹1";
inline constexpr const char* kThousandsBox = "选择框1";
inline constexpr const char* kRememberBox = "选择框2";
inline constexpr const char* kSignificantBox = "选择框3";
inline constexpr const char* kDecimalPlacesBox = "小数保留位数编辑框";
inline constexpr const char* kDecimalPlacesLabel = "透明标签3";
inline constexpr const char* kColumnSpanBox = "跨度编辑框";
inline constexpr const char* kRowSpacingBox = "上下间隔编辑框";
inline constexpr const char* kRowsPerColumnBox = "每列个数编辑框";
inline constexpr const char* kStylePreview = "预览框";

// Tags of the dialog's edit boxes: decimal places, then the 32 names, then span, spacing and
// rows per column.
inline constexpr int kDecimalPlacesTag = 10000;
inline constexpr int kTaggedBoxCount = 36;

// The radio button of interface style 1 to 3.
const char* StyleRadioName(int style);

// The options dialog: three pages (general, category names, advanced) and OK, Cancel, Apply.
const WindowDesign& OptionsWindowDesign();

}  // namespace velmora
