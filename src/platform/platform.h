// The thin layer under which Windows and POSIX differ: path spelling, the
// program's own location, loading a shared library, local time, opening and
// replacing files.
#ifndef VAULTGAUGE_PLATFORM_PLATFORM_H_
#define VAULTGAUGE_PLATFORM_PLATFORM_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vaultgauge {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Spells a Windows path for this platform: on POSIX a leading drive "C:" is
// dropped and every backslash becomes a slash.
std::string NativePath(const std::string& windows_path);

// Spells a UTF-16 text the way this platform's file functions take a path:
// in the ANSI code page on Windows, in UTF-8 elsewhere. False when a
// character has no such spelling (or a surrogate is broken).
bool PathFromUtf16(std::u16string_view text, std::string* path);

// The working folder with a trailing separator; empty when it cannot be told.
std::string CurrentFolder();

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

// The size of the regular file `path`; nothing when there is none.
std::optional<uint64_t> RegularFileSize(const std::string& path);

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

// Another run of a program, whose standard output the starter reads; its
// standard input is empty and its standard error is the starter's.
class ChildProcess {
 public:
  // Starts `program` with `arguments`; null when it cannot be started.
  static std::unique_ptr<ChildProcess> Start(const std::string& program,
                                             const std::vector<std::string>& arguments);
  ~ChildProcess();  // waits for it
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads its standard output to the end, then waits for it to end. Returns
  // its exit code; -1 when it did not end normally.
  int Finish(std::string* output);

 private:
  ChildProcess(intptr_t process, intptr_t output) : process_(process), output_(output) {}
  intptr_t process_;  // the process id or HANDLE
  intptr_t output_;   // the reading end of its standard output
  bool finished_ = false;
};

// Writes standard output's bytes as they are: on Windows a "\n" written in
// text mode would become "\r\n". For output that another program reads.
void UseBinaryStandardOutput();

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
