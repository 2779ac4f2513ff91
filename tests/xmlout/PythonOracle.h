// PythonOracle.h - the name some tests include the expat oracle by (common/ExpatOracle.h).
#pragma once

#include "common/ExpatOracle.h"
