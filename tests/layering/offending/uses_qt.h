#pragma once
// A file that the include check must refuse (see tests/layering/CMakeLists.txt).

#include <QString>

#include "toolkit/toolkit.h"
