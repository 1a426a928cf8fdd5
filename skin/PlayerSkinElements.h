#pragma once

#include <QSize>
#include <QStringView>

namespace korvel {

// The elements of the built-in player skin "Skin", by the names its description gives them.
namespace PlayerElement {

inline constexpr QStringView ButtonPlay = u"BUTTON_PLAY";
inline constexpr QStringView ButtonPause = u"BUTTON_PAUSE";
inline constexpr QStringView ButtonStop = u"BUTTON_STOP";
inline constexpr QStringView ButtonNext = u"BUTTON_NEXT";
inline constexpr QStringView ButtonPrev = u"BUTTON_PREV";
inline constexpr QStringView ButtonOpen = u"BUTTON_OPEN";
inline constexpr QStringView ButtonMinimize = u"BUTTON_MINIMIZE";
inline constexpr QStringView ButtonExit = u"BUTTON_EXIT";
inline constexpr QStringView ButtonHide = u"BUTTON_HIDE";
inline constexpr QStringView ButtonMarkOut = u"BUTTON_MKOUT";
inline constexpr QStringView ButtonMarkIn = u"BUTTON_MKIN";
inline constexpr QStringView ButtonTop = u"BUTTON_TOP";
inline constexpr QStringView ButtonDefault = u"BUTTON_DEFO";
inline constexpr QStringView ButtonFull = u"BUTTON_FULL";
inline constexpr QStringView ButtonFix = u"BUTTON_FIX";
inline constexpr QStringView ButtonMute = u"BUTTON_MUTE";
inline constexpr QStringView ButtonFastForward = u"BUTTON_FF";
inline constexpr QStringView ButtonRewind = u"BUTTON_REW";
inline constexpr QStringView ButtonBackSkip = u"BUTTON_BKSKIP";
inline constexpr QStringView ButtonForwardSkip = u"BUTTON_FWSKIP";

inline constexpr QStringView TextPos = u"TEXT_POS";
inline constexpr QStringView TextTitle = u"TEXT_TITLE";
inline constexpr QStringView TextTotal = u"TEXT_TOTAL";
inline constexpr QStringView TextNo = u"TEXT_NO";

inline constexpr QStringView TrackBarVolume = u"TRACKBAR_VOLUME";
inline constexpr QStringView TrackBarSize = u"TRACKBAR_SIZE";
inline constexpr QStringView TrackBarPos = u"TRACKBAR_POS";

} // namespace PlayerElement

namespace PlayerSkin {

// The size of the skin's mask, and so of the panel's face: the panel takes it before the skin
// loads, so that it never shows at another size first.
inline constexpr QSize FaceSize{273, 116};

} // namespace PlayerSkin
} // namespace korvel
