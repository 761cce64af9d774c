#include "standin/landscape_cache.h"

#include <sys/stat.h>

#include <ctime>

namespace vaultgauge::standin {

bool StampOf(const std::string& path, FileStamp* stamp) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  stamp->size = static_cast<int64_t>(info.st_size);
  stamp->modified = static_cast<int64_t>(info.st_mtime);
  return true;
}

const Landscape* LandscapeCache::Get(std::string* error) {
  // The stamp and the time are taken before the reading: a change made while
  // the file is read moves the stamp away from the one kept.
  int64_t now = static_cast<int64_t>(std::time(nullptr));
  FileStamp stamp;
  bool stamped = StampOf(path_, &stamp);
  if (valid_ && stamped && stamp == stamp_ && stamp_.modified + kStampMargin < read_time_) {
    return &landscape_;
  }

  std::string text;
  if (!ReadLandscapeText(path_, &text, error)) {
    valid_ = false;
    return nullptr;
  }
  if (!valid_ || text != landscape_.text()) {
    valid_ = landscape_.Parse(std::move(text), error);
    if (!valid_) return nullptr;
  }
  stamp_ = stamp;
  read_time_ = now;
  return &landscape_;
}

}  // namespace vaultgauge::standin
