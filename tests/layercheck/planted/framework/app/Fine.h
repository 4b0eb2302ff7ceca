#pragma once
// An application header including from below: allowed.
#include "framework/core/Buffer.h"
