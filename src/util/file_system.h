// The seam through which the sensor reads its files, so that tests can lay out
// any folder tree in memory. Files are read with the semantics of a text
// stream, the same on every platform.
#ifndef VAULTGAUGE_UTIL_FILE_SYSTEM_H_
#define VAULTGAUGE_UTIL_FILE_SYSTEM_H_

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace vaultgauge {

class TextFile {
 public:
  virtual ~TextFile() = default;

  // Reads the next piece: characters up to and including a line feed, at most
  // `max_chars` of them (a longer line continues in the next piece). Returns
  // false at the end of the file.
  bool ReadPiece(size_t max_chars, std::string* piece);

  // Reads the next line without its line end ("\n", or a lone "\r" at the very
  // end of the file). Keeps at most `limit` characters; `too_long` tells
  // whether the line had more (they are skipped). Returns false at the end of
  // the file.
  bool ReadLine(size_t limit, std::string* line, bool* too_long);

  // Reads the bytes not yet read as they are in the file, without the
  // line-end and byte-order-mark handling above: at most `limit` of them;
  // `too_long` tells whether there were more.
  void ReadBytes(size_t limit, std::string* bytes, bool* too_long);

 protected:
  // Reads the next bytes of the file, at most `size`, into `buffer`; 0 at
  // its end.
  virtual size_t ReadBlock(char* buffer, size_t size) = 0;

 private:
  // The next byte of the file, or -1 at its end.
  int NextByte();
  // The next character: "\r\n" reads as "\n", as in a Windows text stream, and
  // a UTF-8 byte-order mark at the start of the file is skipped.
  int NextChar();
  int NextRaw();
  // The characters up to the next line end that the block holds, to be taken
  // in one go; empty when the next character needs NextChar.
  std::string_view PlainRun() const;

  std::string ahead_;  // bytes read but not yet taken
  bool started_ = false;
  // Read a block at a time: the sensor's files are read a character at a time.
  char block_[512];
  size_t block_next_ = 0, block_end_ = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens a file for reading; null when it cannot be opened or is no regular
  // file (a folder, a FIFO, a device).
  virtual std::unique_ptr<TextFile> Open(const std::string& path) = 0;

  // A file exists for the sensor when it can be opened for reading.
  bool Exists(const std::string& path) { return Open(path) != nullptr; }
};

// Opens a file on disk for reading its bytes as they are; null when it cannot
// be opened or is no regular file: a folder (some systems open one for
// reading), a FIFO that would wait for a writer, a device that never ends.
// Every file the sensor reads comes through here.
std::FILE* OpenBinaryFile(const std::string& path);

// The disk, through the C library.
class RealFileSystem : public FileSystem {
 public:
  std::unique_ptr<TextFile> Open(const std::string& path) override;
};

// Files held in memory, keyed by their full path as the sensor spells it.
class MemoryFileSystem : public FileSystem {
 public:
  void Add(const std::string& path, std::string contents) { files_[path] = std::move(contents); }
  std::unique_ptr<TextFile> Open(const std::string& path) override;

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_UTIL_FILE_SYSTEM_H_
