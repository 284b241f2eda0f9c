// Notification codes and records of the platform's common controls that windows of
// their own speak too: the tab strip's selection change and the header control's
// press, drag and divider notifications.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/window/messages.h"

// Tab control.
constexpr UINT TCN_FIRST = 0U - 550U;
constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

// Header control.
constexpr UINT HDN_FIRST = 0U - 300U;
constexpr UINT HDN_ITEMCHANGINGW = HDN_FIRST - 20;
constexpr UINT HDN_ITEMCHANGEDW = HDN_FIRST - 21;
constexpr UINT HDN_ITEMCLICKW = HDN_FIRST - 22;
constexpr UINT HDN_ITEMDBLCLICKW = HDN_FIRST - 23;
constexpr UINT HDN_DIVIDERDBLCLICKW = HDN_FIRST - 25;
constexpr UINT HDN_BEGINTRACKW = HDN_FIRST - 26;
constexpr UINT HDN_ENDTRACKW = HDN_FIRST - 27;
constexpr UINT HDN_TRACKW = HDN_FIRST - 28;
constexpr UINT HDN_BEGINDRAG = HDN_FIRST - 10;
constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;

struct HDITEMW;

// The record a header notification carries after its NMHDR.
struct NMHEADERW {
    NMHDR hdr;
    int iItem;
    int iButton;  // 0 left, 1 right, 2 middle
    HDITEMW* pitem;
};
using NMHEADER = NMHEADERW;
using LPNMHEADER = NMHEADERW*;
