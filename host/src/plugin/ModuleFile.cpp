#include "host/src/plugin/ModuleFile.h"

#include <elf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/src/core/Files.h"

namespace ehost {

namespace {

#if UINTPTR_MAX == UINT64_MAX
using Header = Elf64_Ehdr;
using ProgramHeader = Elf64_Phdr;
constexpr unsigned char kClass = ELFCLASS64;
#else
using Header = Elf32_Ehdr;
using ProgramHeader = Elf32_Phdr;
constexpr unsigned char kClass = ELFCLASS32;
#endif

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kByteOrder = ELFDATA2MSB;
#endif

bool readAt(int fd, void* into, std::size_t size, std::uint64_t offset) {
    auto* bytes = static_cast<char*>(into);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

//! The reason the open file is no whole shared object, or "".
std::string problemOf(int fd, std::uint64_t size) {
    Header h{};
    if (size < sizeof h || !readAt(fd, &h, sizeof h, 0))
        return "it is too short to be a shared object (" + std::to_string(size) + " bytes)";
    if (std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0) return "it is not an ELF file";
    if (h.e_ident[EI_CLASS] != kClass || h.e_ident[EI_DATA] != kByteOrder)
        return "it is an ELF file for another kind of machine";
    if (h.e_type != ET_DYN) return "it is an ELF file but not a shared object";
    if (h.e_phentsize != sizeof(ProgramHeader) || h.e_phnum == 0)
        return "its ELF header has no usable program headers";
    const std::uint64_t tableEnd =
        static_cast<std::uint64_t>(h.e_phoff) + std::uint64_t{h.e_phnum} * sizeof(ProgramHeader);
    if (h.e_phoff > size || tableEnd > size)
        return "it is truncated: its program headers end at byte " + std::to_string(tableEnd) +
               " of " + std::to_string(size);
    std::vector<ProgramHeader> table(h.e_phnum);
    if (!readAt(fd, table.data(), table.size() * sizeof(ProgramHeader), h.e_phoff))
        return "its program headers cannot be read";
    int loadable = 0;
    for (const ProgramHeader& p : table) {
        if (p.p_type != PT_LOAD) continue;
        ++loadable;
        const std::uint64_t end = static_cast<std::uint64_t>(p.p_offset) + p.p_filesz;
        if (end < p.p_offset || end > size)
            return "it is truncated: a segment ends at byte " + std::to_string(end) + " of " +
                   std::to_string(size);
    }
    if (loadable == 0) return "it has no loadable segment";
    return "";
}

}  // namespace

bool checkModuleFile(const std::string& path, std::string& error) {
    std::string why;
    int fd = files::openForReading(path, why);
    if (fd < 0) {
        error = "cannot open plug-in " + path + ": " + why;
        return false;
    }
    struct stat st {};
    std::string problem = ::fstat(fd, &st) != 0
                              ? std::string(std::strerror(errno))
                              : problemOf(fd, static_cast<std::uint64_t>(st.st_size));
    ::close(fd);
    if (!problem.empty()) {
        error = "cannot open plug-in " + path + ": " + problem;
        return false;
    }
    return true;
}

}  // namespace ehost
