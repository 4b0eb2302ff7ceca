#pragma once
// A core header that reaches up into the application: the layer check must name this line.
#include "framework/core/Buffer.h"
#include "framework/app/QuollAppBase.h"
