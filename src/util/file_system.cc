#include "util/file_system.h"

#include <algorithm>
#include <cstdio>

#include "platform/platform.h"

namespace vaultgauge {

int TextFile::NextByte() {
  if (block_next_ == block_end_) {
    block_end_ = ReadBlock(block_, sizeof block_);
    block_next_ = 0;
    if (block_end_ == 0) return -1;
  }
  return static_cast<unsigned char>(block_[block_next_++]);
}

int TextFile::NextRaw() {
  if (ahead_.empty()) return NextByte();
  int c = static_cast<unsigned char>(ahead_.front());
  ahead_.erase(0, 1);
  return c;
}

int TextFile::NextChar() {
  if (!started_) {
    started_ = true;
    for (int i = 0; i < 3; ++i) {
      int c = NextByte();
      if (c < 0) break;
      ahead_ += static_cast<char>(c);
    }
    // Notepad writes this mark; the sensor's files are plain text.
    if (ahead_ == "\xEF\xBB\xBF") ahead_.clear();
  }
  int c = NextRaw();
  if (c == '\r') {
    int next = NextRaw();
    if (next == '\n') return '\n';
    if (next >= 0) ahead_.insert(ahead_.begin(), static_cast<char>(next));
  }
  return c;
}

std::string_view TextFile::PlainRun() const {
  if (!started_ || !ahead_.empty()) return std::string_view();
  size_t end = block_next_;
  while (end < block_end_ && block_[end] != '\n' && block_[end] != '\r') ++end;
  return std::string_view(block_ + block_next_, end - block_next_);
}

bool TextFile::ReadPiece(size_t max_chars, std::string* piece) {
  piece->clear();
  if (max_chars == 0) max_chars = 1;
  bool any = false;
  while (piece->size() < max_chars) {
    std::string_view run = PlainRun();
    if (!run.empty()) {
      run = run.substr(0, max_chars - piece->size());
      piece->append(run);
      block_next_ += run.size();
      any = true;
      continue;
    }
    int c = NextChar();
    if (c < 0) break;
    any = true;
    piece->push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  // A NUL byte ends the text of its piece, as it ends a C string.
  size_t nul = piece->find('\0');
  if (nul != std::string::npos) piece->resize(nul);
  return any;
}

bool TextFile::ReadLine(size_t limit, std::string* line, bool* too_long) {
  line->clear();
  *too_long = false;
  bool any = false;
  for (;;) {
    const std::string_view run = PlainRun();
    if (!run.empty()) {
      const size_t room = limit - std::min(limit, line->size());
      line->append(run.substr(0, room));
      if (run.size() > room) *too_long = true;
      block_next_ += run.size();
      any = true;
      continue;
    }
    int c = NextChar();
    if (c < 0) break;
    any = true;
    if (c == '\n') break;
    if (line->size() < limit) {
      line->push_back(static_cast<char>(c));
    } else {
      *too_long = true;
    }
  }
  if (!*too_long && !line->empty() && line->back() == '\r') line->pop_back();
  size_t nul = line->find('\0');
  if (nul != std::string::npos) line->resize(nul);
  return any;
}

void TextFile::ReadBytes(size_t limit, std::string* bytes, bool* too_long) {
  bytes->clear();
  *too_long = false;
  for (;;) {
    int c = NextRaw();
    if (c < 0) break;
    if (bytes->size() == limit) {
      *too_long = true;
      break;
    }
    bytes->push_back(static_cast<char>(c));
  }
}

namespace {

class DiskFile : public TextFile {
 public:
  explicit DiskFile(std::FILE* file) : file_(file) {}
  ~DiskFile() override { std::fclose(file_); }

 protected:
  size_t ReadBlock(char* buffer, size_t size) override {
    return std::fread(buffer, 1, size, file_);
  }

 private:
  std::FILE* file_;
};

class StringFile : public TextFile {
 public:
  explicit StringFile(const std::string& contents) : contents_(contents) {}

 protected:
  size_t ReadBlock(char* buffer, size_t size) override {
    const size_t length = contents_.copy(buffer, size, std::min(next_, contents_.size()));
    next_ += length;
    return length;
  }

 private:
  const std::string& contents_;
  size_t next_ = 0;
};

}  // namespace

std::FILE* OpenBinaryFile(const std::string& path) { return OpenRegularFile(path); }

std::unique_ptr<TextFile> RealFileSystem::Open(const std::string& path) {
  std::FILE* file = OpenBinaryFile(path);
  if (file == nullptr) return nullptr;
  return std::make_unique<DiskFile>(file);
}

std::unique_ptr<TextFile> MemoryFileSystem::Open(const std::string& path) {
  auto it = files_.find(path);
  if (it == files_.end()) return nullptr;
  return std::make_unique<StringFile>(it->second);
}

}  // namespace vaultgauge
