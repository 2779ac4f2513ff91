// FoundationOracle.h - the former home of the foundation tests' helpers, now a shim over
// common/TestSupport.h for tests that still include it. New tests include the common header
// and use namespace qxxml_test directly.
#pragma once

#include "common/TestSupport.h"

#include <string>

namespace foundation_test {

using namespace qxxml_test;

// The names these helpers had here.
inline std::string ReadWholeFile(const std::string& path) { return qxxml_test::ReadFile(path); }
inline void WriteWholeFile(const std::string& path, const std::string& bytes) { qxxml_test::WriteFile(path, bytes); }

}  // namespace foundation_test
