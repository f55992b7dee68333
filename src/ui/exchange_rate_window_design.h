#pragma once

#include "toolkit/design.h"

namespace velmora {

// Controls the currency window's handlers address by name.
inline constexpr const char* kRatesDateLabel = "日期标签";
inline constexpr const char* kRatesStatusLabel = "状态标签";
inline constexpr const char* kUpdateRatesButton = "更新汇率";
inline constexpr const char* kRatesScrollBox = "滚动框1";
// The invisible row that every currency row is copied from: an edit box and its label.
inline constexpr const char* kRateTemplateEdit = "编辑框1";
inline constexpr const char* kRateTemplateLabel = "透明标签2";

// Places of the currency rows in the scroll box: row i (from 0) at kFirstRateRowTop + i ×
// kRateRowPitch; the edit boxes carry the tags kFirstRateRowTag + i, their labels
// kFirstRateLabelTag + i.
inline constexpr int kRateEditLeft = 8;
inline constexpr int kRateLabelLeft = 168;
inline constexpr int kFirstRateRowTop = 8;
inline constexpr int kRateRowPitch = 24;
inline constexpr int kFirstRateRowTag = 1;
inline constexpr int kFirstRateLabelTag = 1001;

// Handlers the design binds.
inline constexpr const char* kOnRatesCreated = "OnRatesCreated";
inline constexpr const char* kOnRateEdited = "OnRateEdited";
inline constexpr const char* kOnRateGotFocus = "OnRateGotFocus";
inline constexpr const char* kOnRateLostFocus = "OnRateLostFocus";
inline constexpr const char* kUpdateRates = "UpdateRates";
inline constexpr const char* kDestroyRatesWindow = "DestroyRatesWindow";

// The currency window: title, close button, the rates' date and state, the update button and
// the scrolling rows of the currencies.
const WindowDesign& ExchangeRateWindowDesign();

}  // namespace velmora
