#include "platform/product.h"

#ifndef QUORVALE_VERSION_MAJOR
#error "the build defines the program version"
#endif

namespace quorvale {

ProgramVersion CurrentVersion() {
  return {QUORVALE_VERSION_MAJOR, QUORVALE_VERSION_MINOR, QUORVALE_VERSION_PATCH};
}

std::string ProductTitle() {
  const ProgramVersion v = CurrentVersion();
  return "Quorvale " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
         std::to_string(v.revision);
}

std::string WindowTitle(const std::string& caption) { return ProductTitle() + " - " + caption; }

}  // namespace quorvale
