#pragma once
// The short marker expressions of live-tweakable constants, for the source files that use
// them. The names are short on purpose, so that the reparse finds them in the text: include
// this only in .cpp files, after every other header. M(value) is index 0; M1(value) to M9(value) tell apart several
// markers on one line.
#include "framework/core/ModVal.h"

#define M(value) QUOLL_MODVAL(0, value)
#define M1(value) QUOLL_MODVAL(1, value)
#define M2(value) QUOLL_MODVAL(2, value)
#define M3(value) QUOLL_MODVAL(3, value)
#define M4(value) QUOLL_MODVAL(4, value)
#define M5(value) QUOLL_MODVAL(5, value)
#define M6(value) QUOLL_MODVAL(6, value)
#define M7(value) QUOLL_MODVAL(7, value)
#define M8(value) QUOLL_MODVAL(8, value)
#define M9(value) QUOLL_MODVAL(9, value)
