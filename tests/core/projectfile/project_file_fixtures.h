#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/support/temp_folder.h"
#include "platform/native_path.h"

namespace quorvale::testing {

// A file or folder inside a test's temporary folder.
inline std::string PathIn(const TempFolder& folder, const std::string& name) {
  return PathText(folder.path() / NativePath(name));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(NativePath(path), std::ios::binary) << bytes;
}

// One record line: tag byte, "~", value, CR LF.
inline std::string Rec(int tag, const std::string& value) {
  return std::string(1, static_cast<char>(tag)) + "~" + value + "\r\n";
}

inline std::string Header() { return Rec(0x80, "QS") + Rec(0x81, "1.0") + Rec(0x82, "0"); }

// The documented example file: two albums, the first with two pictures.
inline std::string ExampleFileBytes() {
  return Header() + Rec(0x83, "D:\\Web\\Family") + Rec(0x84, "1") + Rec(0x85, "JAVA") +
         Rec(0x86, "C:\\Tools\\Albums\\Applications\\Torvexa") + Rec(0x87, "2") +  //
         Rec(0x88, "0") + Rec(0x89, "Lake trip ~ June") + Rec(0x8A, "2") +           //
         Rec(0x8B, "C:\\Photos\\Lake\\boat.jpg") + Rec(0x8C, "Morning on the water") +
         Rec(0x8B, "C:\\Photos\\Lake\\cabin.jpg") + Rec(0x8C, "") +  //
         Rec(0x88, "1") + Rec(0x89, "Garden") + Rec(0x8A, "0");
}

}  // namespace quorvale::testing
