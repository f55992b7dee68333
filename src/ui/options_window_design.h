#pragma once

#include "settings/settings.h"
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
// The fields of the general settings are named in their table (settings/settings.h).
inline constexpr const char* kThousandsBox = GeneralSettingOf(kThousandsSeparatorsKey).field.data();
inline constexpr const char* kRememberBox = GeneralSettingOf(kRememberLastCategoryKey).field.data();
inline constexpr const char* kSignificantBox = GeneralSettingOf(kSignificantDigitsKey).field.data();
inline constexpr const char* kDecimalPlacesBox = GeneralSettingOf(kDecimalPlacesKey).field.data();
inline constexpr const char* kDecimalPlacesLabel = "透明标签3";
inline constexpr const char* kColumnSpanBox = GeneralSettingOf(kColumnSpanKey).field.data();
inline constexpr const char* kRowSpacingBox = GeneralSettingOf(kRowSpacingKey).field.data();
inline constexpr const char* kRowsPerColumnBox = GeneralSettingOf(kRowsPerColumnKey).field.data();
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
