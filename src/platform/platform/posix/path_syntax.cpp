#include "platform/path.h"

namespace quorvale {

std::size_t PathRootLength(std::string_view path) { return !path.empty() && path.front() == '/' ? 1 : 0; }

}  // namespace quorvale
