// For tests: a fresh temporary folder, removed with everything in it when the
// test ends. Entered, it is the working folder while it lives, and the
// earlier working folder is restored afterwards.
#ifndef VAULTGAUGE_TESTS_SUPPORT_TEST_FOLDER_H_
#define VAULTGAUGE_TESTS_SUPPORT_TEST_FOLDER_H_

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace vaultgauge {

class TestFolder {
 public:
  enum Use { kAside, kEnter };

  explicit TestFolder(Use use = kAside) {
    std::random_device random;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    do {
      folder_ = base / ("vaultgauge-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(folder_));
    if (use == kEnter) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(folder_);
    }
  }
  ~TestFolder() {
    std::error_code ignored;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(folder_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder's path with a trailing separator.
  std::string path() const { return (folder_ / "").string(); }

  void Write(const std::string& name, const std::string& contents) const {
    std::ofstream(folder_ / name, std::ios::binary) << contents;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(folder_ / name); }
  void MakeFolder(const std::string& name) const {
    std::filesystem::create_directory(folder_ / name);
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path previous_;
};

// Everything written so far to a stream opened for update (std::tmpfile).
inline std::string StreamContents(std::FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string text;
  for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

}  // namespace vaultgauge

#endif  // VAULTGAUGE_TESTS_SUPPORT_TEST_FOLDER_H_
