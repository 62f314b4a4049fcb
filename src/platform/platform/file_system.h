#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvale {

// Small file operations shared by the writers. None of them throws: a failure comes
// back as the system's reason, in words.

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// The whole content of a file, or nothing (with `reason` set) when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* reason = nullptr);
// The first `limit` bytes of a file (all of a shorter one), read as ReadWholeFile reads.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit, std::string* reason = nullptr);

// The reasons with which a write leaves a path alone on purpose; the reason begins
// with the path it names ("<path> is a link; not followed").
inline constexpr std::string_view kIsALink = "is a link; not followed";
inline constexpr std::string_view kIsNotARegularFile = "is not a regular file";
inline constexpr std::string_view kIsNotAFolder = "is not a folder";  // where a folder must be
bool IsRefusal(std::string_view reason);

// The reason a save gives for a target that its owner may not write.
inline constexpr const char* kReadOnlyReason = "The file is read-only.";

// Writes `bytes` as the whole content of the file at `path`, which is `root`, a
// separator and a relative part. The bytes go to a temporary file in the same folder
// that is then renamed over the target, so a write that fails leaves the old file
// whole. Nothing below `root` is reached through a link, and a target that is a link
// or no regular file (a folder, a FIFO, a device) is left alone: the reason names it.
// A file that already holds exactly `bytes` is not written at all, so its time (and
// what a later upload or backup makes of it) stays as it was. Never blocks. Returns the
// failure's reason.
std::optional<std::string> WriteFileBelow(const std::string& root, const std::string& path, std::string_view bytes);

// A content given in pieces, for one too large to gather whole: called with a consumer,
// it hands it each piece in turn, and stops as soon as the consumer returns false. It
// returns its own failure's reason (the consumer stopping it is none), and may be called
// again: it then gives the same pieces.
using PieceConsumer = std::function<bool(std::string_view)>;
using BytePieces = std::function<std::optional<std::string>(const PieceConsumer&)>;

// A content held whole, as one piece: it must outlive the pieces.
BytePieces WholePieces(std::string_view bytes);

// WriteFileBelow of a content given in pieces: compared with the file as the pieces come
// (an equal file is left as it is), written piece by piece when it differs.
std::optional<std::string> WritePiecesBelow(const std::string& root, const std::string& path, const BytePieces& pieces);

// Whether `pieces` are exactly the bytes `read` yields until it gives 0; `read` fills a
// buffer and returns how many bytes it put there, or less than 0 when it fails.
bool PiecesMatchRead(const BytePieces& pieces, const std::function<std::ptrdiff_t(char*, std::size_t)>& read);

// Removes from `folder` below `root` the temporary files that WriteFileBelow and
// CopyFileBelow leave when their process is killed half-way. Only for a caller that
// knows no such write into the folder is under way (a run holding the lock of its
// Publishing Directory).
void RemoveLeftoverWrites(const std::string& root, const std::string& folder);

// Whether a folder's entry named `name` is one that RemoveLeftoverWrites removes: a
// caller that has the folder's listing already knows whether it need be called.
bool IsLeftoverWrite(std::string_view name);

// WriteFileBelow with the file's own folder as the root.
std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes);

// Saves a file that the user keeps: a temporary file beside the target, synced,
// renamed over it, then the folder synced, so neither a crash nor a power cut leaves a
// partial file. A path that is a symbolic link saves to the link's target and keeps
// the link; a target its owner may not write is refused (kReadOnlyReason); the new
// file keeps the old one's permissions. Temporary files that a killed save of the same
// target left behind are removed. Safe from several threads at once.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

// Appends `bytes` to the file at `path` below `root`, creating it when missing; the
// same rules as WriteFileBelow: no link followed, only a regular file written, never
// blocks.
std::optional<std::string> AppendToFileBelow(const std::string& root, const std::string& path,
                                             std::string_view bytes);

// The reason of the last failed C library call (errno), in words. Safe from several
// threads at once.
std::string LastSystemReason();

}  // namespace quorvale
