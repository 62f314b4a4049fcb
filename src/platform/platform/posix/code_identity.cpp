#include "platform/code_identity.h"

#include <link.h>

#include <cstdint>
#include <cstring>

namespace quorvale {
namespace {

struct Search {
  std::uintptr_t address = 0;  // an address in the code whose object is looked for
  std::optional<std::string> identity;
};

std::size_t RoundUp(std::size_t size, std::size_t alignment) { return (size + alignment - 1) / alignment * alignment; }

// The GNU build ID among the notes of one PT_NOTE segment, in hexadecimal.
std::optional<std::string> BuildIdIn(const unsigned char* notes, std::size_t size, std::size_t alignment) {
  constexpr char kOwner[] = "GNU";
  std::size_t at = 0;
  while (at + sizeof(ElfW(Nhdr)) <= size) {
    ElfW(Nhdr) header;
    std::memcpy(&header, notes + at, sizeof header);
    const std::size_t name_at = at + sizeof header;
    const std::size_t description_at = name_at + RoundUp(header.n_namesz, alignment);
    const std::size_t next = description_at + RoundUp(header.n_descsz, alignment);
    if (next > size) break;
    if (header.n_type == NT_GNU_BUILD_ID && header.n_namesz == sizeof kOwner &&
        std::memcmp(notes + name_at, kOwner, sizeof kOwner) == 0 && header.n_descsz > 0) {
      static constexpr char kDigits[] = "0123456789abcdef";
      std::string hex;
      for (std::size_t i = 0; i < header.n_descsz; ++i) {
        const unsigned char byte = notes[description_at + i];
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
      }
      return hex;
    }
    at = next;
  }
  return std::nullopt;
}

// Called for each loaded object: stops at the one whose loaded segments hold the address.
int Visit(dl_phdr_info* info, std::size_t, void* data) {
  Search& search = *static_cast<Search*>(data);
  bool holds = false;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    const std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    if (segment.p_type == PT_LOAD && search.address >= start && search.address - start < segment.p_memsz) holds = true;
  }
  if (!holds) return 0;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum && !search.identity; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_NOTE) continue;
    const auto* notes = reinterpret_cast<const unsigned char*>(info->dlpi_addr + segment.p_vaddr);
    search.identity = BuildIdIn(notes, segment.p_memsz, segment.p_align == 8 ? 8 : 4);
  }
  return 1;
}

}  // namespace

std::optional<std::string> CodeIdentity() {
  // The objects loaded do not change under this function: it is looked up once.
  static const std::optional<std::string> identity = [] {
    Search search;
    search.address = reinterpret_cast<std::uintptr_t>(&CodeIdentity);
    dl_iterate_phdr(Visit, &search);
    return search.identity;
  }();
  return identity;
}

}  // namespace quorvale
