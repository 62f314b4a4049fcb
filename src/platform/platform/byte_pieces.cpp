#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/file_system.h"

namespace quorvale {

BytePieces WholePieces(std::string_view bytes) {
  return [bytes](const PieceConsumer& consume) -> std::optional<std::string> {
    consume(bytes);
    return std::nullopt;
  };
}

bool PiecesMatchRead(const BytePieces& pieces, const std::function<std::ptrdiff_t(char*, std::size_t)>& read) {
  std::vector<char> buffer(std::size_t{1} << 16);
  std::size_t held = 0;      // the bytes last read
  std::size_t compared = 0;  // how many of them the pieces matched so far
  bool same = true;
  const auto failure = pieces([&](std::string_view piece) {
    while (!piece.empty()) {
      if (compared == held) {
        const std::ptrdiff_t got = read(buffer.data(), buffer.size());
        if (got <= 0) return same = false;  // the file is shorter, or cannot be read
        held = static_cast<std::size_t>(got);
        compared = 0;
      }
      const std::size_t size = std::min(piece.size(), held - compared);
      if (std::memcmp(piece.data(), buffer.data() + compared, size) != 0) return same = false;
      compared += size;
      piece.remove_prefix(size);
    }
    return true;
  });
  // The file must end where the pieces do.
  return !failure && same && compared == held && read(buffer.data(), buffer.size()) == 0;
}

}  // namespace quorvale
