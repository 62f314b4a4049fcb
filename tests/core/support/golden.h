#pragma once

#include <string>

#include "platform/file_system.h"

namespace quorvale::testing {

// A golden file: the exact bytes a test expects, kept under tests/core/ (the path
// `relative` below it) so that no editor or copy can change a byte unnoticed.
inline std::string GoldenFile(const std::string& relative) {
  return ReadWholeFile(std::string(QUORVALE_TESTS_DIR) + "/core/" + relative).value_or("<missing golden file " + relative + ">");
}

}  // namespace quorvale::testing
