// The landscape file as the library last read it: read at the first opening
// of a connection, and again only when the file may have changed since, so
// that a run over many systems does not read and check it at every opening.
#ifndef VAULTGAUGE_STANDIN_LANDSCAPE_CACHE_H_
#define VAULTGAUGE_STANDIN_LANDSCAPE_CACHE_H_

#include <cstdint>
#include <string>

#include "standin/landscape.h"

namespace vaultgauge::standin {

// What the directory entry of a file says of its contents.
struct FileStamp {
  int64_t size = -1;
  int64_t modified = 0;  // seconds since 1970
  bool operator==(const FileStamp&) const = default;
};

// False when `path` cannot be looked at.
bool StampOf(const std::string& path, FileStamp* stamp);

class LandscapeCache {
 public:
  explicit LandscapeCache(std::string path) : path_(std::move(path)) {}

  // The landscape as the file holds it now; null with a message when the file
  // cannot be read or is malformed.
  const Landscape* Get(std::string* error);

  // The seconds a time stamp must lie before the reading of the file for an
  // unchanged stamp to mean unchanged contents: file systems keep time stamps
  // in steps of up to two seconds, so a change made in the same step as the
  // reading could leave the stamp as it was. Within them the file is read
  // again and compared.
  static constexpr int64_t kStampMargin = 2;

 private:
  std::string path_;
  Landscape landscape_;
  bool valid_ = false;
  FileStamp stamp_;        // of the file that `landscape_` was read from
  int64_t read_time_ = 0;  // when it was read, in seconds since 1970
};

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_LANDSCAPE_CACHE_H_
