// The thin layer under which Windows and POSIX differ: path spelling, the
// program's own location, loading a shared library, local time, opening and
// replacing files.
#ifndef VAULTGAUGE_PLATFORM_PLATFORM_H_
#define VAULTGAUGE_PLATFORM_PLATFORM_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace vaultgauge {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Spells a Windows path for this platform: on POSIX a leading drive "C:" is
// dropped and every backslash becomes a slash.
std::string NativePath(const std::string& windows_path);

// The local time of day as "HH:MM:SS".
std::string LocalTimeOfDay();

// The full path of the running program, and its folder with a trailing separator.
std::string ProgramPath();
std::string ProgramFolder();

// Switches the echo of what is typed on standard input on or off, so that a
// password can be typed unseen. Returns false, changing nothing, when standard
// input is no terminal.
bool SetInputEcho(bool on);

// Deletes the file `path`. A folder of that name stays: the C library's
// remove() would take an empty one on POSIX. False when nothing was deleted.
bool RemoveFile(const std::string& path);

// Opens `path` for reading its bytes, but only when it is a regular file:
// null for a missing or unreadable file, a folder, a FIFO, a device or a
// socket. Opening never waits (a FIFO without a writer would block an open
// for reading, a device like /dev/zero never ends), and the type is taken from
// the opened file itself, so that a file swapped in between cannot slip by.
std::FILE* OpenRegularFile(const std::string& path);

// Moves the file `from` to `to` in one step, replacing a file `to`: a reader
// of `to` sees the old file or the new one, never a part. Both lie in the same
// folder. False when nothing was moved.
bool ReplaceFileWith(const std::string& to, const std::string& from);

// A file written under an exclusive lock that every run of the sensor takes
// before it writes the file, and keeps until the library has read it. The
// lock lies on a byte far past the file's end, so that it never stands in the
// way of a reader: the library reads the file while its writer holds it.
class LockedFile {
 public:
  // Opens `path` for writing, created when missing, and waits for the lock.
  // Null when it cannot be opened or is no regular file.
  static std::unique_ptr<LockedFile> Open(const std::string& path);
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Replaces the file's contents by the bytes of `from`, read to its end.
  // False when they could not all be read or written.
  bool ReplaceContents(std::FILE* from);

 private:
  explicit LockedFile(intptr_t handle) : handle_(handle) {}
  intptr_t handle_;  // the file descriptor or HANDLE
};

// The RFC library's file name on this platform.
const char* RfcLibraryFileName();
// The file name of SAP's NetWeaver RFC library on this platform.
const char* NwRfcLibraryFileName();

// Loads a shared library: first the file `folder` + `name`, then `name`
// through the system's normal search. Null when neither loads.
void* LoadSharedLibrary(const std::string& folder, const std::string& name);
void* FindSymbol(void* library, const char* name);

// Resolves the entry point `name` into `function`; false when the library lacks it.
template <typename Function>
bool ResolveSymbol(void* library, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(FindSymbol(library, name));
  return *function != nullptr;
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_PLATFORM_PLATFORM_H_
