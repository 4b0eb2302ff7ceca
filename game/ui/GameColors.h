#pragma once
// The game's shared colours: button labels (normal, under the mouse, disabled), hints, the main
// menu's two tints and the level map's text.
#include "framework/display/Color.h"

inline const Quoll::Color ColorLabel{0x1B3E98, 255};
inline const Quoll::Color ColorLabelOver{0xFFFFFF, 255};
inline const Quoll::Color ColorButtonShade{0x122965, 120};
inline const Quoll::Color ColorHint{0xF5FF55, 255};
inline const Quoll::Color ColorMenuA{0x399EB8, 255};
inline const Quoll::Color ColorMenuB{0x3D39B8, 255};
inline const Quoll::Color ColorMapText{0x4FC7F8, 255};
