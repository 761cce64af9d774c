// The width a Windows DLL is built for, read from its PE header, so that a
// library the program cannot load for its width is named as such.
#ifndef VAULTGAUGE_RFC_PE_WIDTH_H_
#define VAULTGAUGE_RFC_PE_WIDTH_H_

#include <string>
#include <string_view>

namespace vaultgauge {

enum class PeWidth { kUnknown, k32, k64 };

// How many leading bytes of a file PeWidthOf needs at most.
inline constexpr size_t kPeHeadSize = 4096;

// The machine field of the PE header in `head`, the file's first bytes:
// i386 (0x14c) is k32, amd64 (0x8664) is k64. kUnknown for any other machine,
// for no PE image (an ELF file, text) and for a header cut short.
PeWidth PeWidthOf(std::string_view head);

// The width of the PE image in the file `path`; kUnknown when it cannot be read.
PeWidth PeWidthOfFile(const std::string& path);

// The width of this program.
constexpr PeWidth ProgramWidth() { return sizeof(void*) == 8 ? PeWidth::k64 : PeWidth::k32; }

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_PE_WIDTH_H_
