// A whole measurement against the stand-in library, on a landscape whose
// system PRD the input describes further: its tablespace rows, its RFCSI
// fields and its faults. Whatever the system answers, the sensor ends in a
// document or in an orderly failure, and no piece of the document passes its
// limit. The input's first byte chooses the output mode and the form of
// the measurement; delays are left out, as they only wait.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_check.h"
#include "measure/current_sizes.h"
#include "output/document_writer.h"
#include "rfc/rfc_api.h"
#include "rfc/rfc_session.h"
#include "rfc/system_info.h"
#include "rfc/trace_file.h"
#include "standin/standin_rfc.h"
#include "standin/words.h"
#include "util/file_system.h"
#include "util/text.h"

namespace {

using namespace vaultgauge;

// The stand-in, called directly rather than through the loaded library.
class StandinApi : public RfcApi {
 public:
  explicit StandinApi(standin::StandinRfc& rfc) : rfc_(rfc) {}
  void Environment(RfcEnv* env) override { rfc_.Environment(env); }
  RFC_HANDLE Open(RfcOptions* options) override { return rfc_.Open(options); }
  RFC_HANDLE OpenEx(const char* connect, RfcErrorInfoEx* error) override {
    return rfc_.OpenEx(connect, error);
  }
  RFC_RC InstallStructure(const char* name, RfcTypeElement* elements, unsigned count,
                          RFC_TYPEHANDLE* type) override {
    return rfc_.InstallStructure(name, elements, count, type);
  }
  RFC_RC Call(RFC_HANDLE handle, const char* function, RfcParameter* exporting,
              RfcTableEntry* tables) override {
    return rfc_.Call(handle, function, exporting, tables);
  }
  RFC_RC Receive(RFC_HANDLE handle, RfcParameter* importing, RfcTableEntry* tables,
                 char** exception) override {
    return rfc_.Receive(handle, importing, tables, exception);
  }
  int LastError(RfcErrorInfo* info) override { return rfc_.LastError(info); }
  void Close(RFC_HANDLE handle) override { rfc_.Close(handle); }
  ITAB_H ItCreate(const char* name, unsigned length, unsigned occu, unsigned memo) override {
    return rfc_.ItCreate(name, length, occu, memo);
  }
  unsigned ItFill(ITAB_H table) override { return rfc_.ItFill(table); }
  void* ItGetLine(ITAB_H table, unsigned line) override { return rfc_.ItGetLine(table, line); }
  int ItDelete(ITAB_H table) override { return rfc_.ItDelete(table); }

 private:
  standin::StandinRfc& rfc_;
};

// A private folder for the landscape and the trace file, removed at the end.
class Folder {
 public:
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vaultgauge-fuzz-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The system the sensor logs on to; the input's lines follow in its section.
constexpr char kSystem[] =
    "[PRD]\n"
    "host = sapprd01\n"
    "sysnr = 00\n"
    "logon = 000 MONI secret\n";

std::string LandscapeFrom(std::string_view input) {
  std::string text = kSystem;
  while (!input.empty()) {
    size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    size_t equals = line.find('=');
    if (equals != std::string_view::npos &&
        standin::UpperCase(standin::Trim(line.substr(0, equals))) == "DELAY") {
      continue;
    }
    text.append(line).append("\n");
  }
  return text;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

size_t Count(const std::string& text, std::string_view what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Folder folder;
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  std::ofstream(folder.path() + standin::kLandscapeFileName, std::ios::binary)
      << LandscapeFrom(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));

  standin::StandinRfc rfc(folder.path());
  StandinApi api(rfc);
  RfcSession session(api, TracePoints(false, nullptr));
  char* printed = nullptr;
  size_t printed_size = 0;
  std::FILE* stream = open_memstream(&printed, &printed_size);
  const OutputMode modes[] = {OutputMode::kExeXml, OutputMode::kHalvenor, OutputMode::kOrmilux};
  const OutputMode mode = modes[(choice >> 1) % 3];
  std::unique_ptr<DocumentWriter> writer = MakeDocumentWriter(mode, {}, stream);
  const bool gigabyte = (choice & 1) != 0;
  const bool item_mode = (choice & 0x80) != 0;
  SizesReport sizes(*writer, "PRD", gigabyte);
  ItemReport item(*writer, "psapsr3", "PRD.P00", gigabyte);
  MeasurementSink& sink = item_mode ? static_cast<MeasurementSink&>(item) : sizes;

  RFC_CONNOPT_R3ONLY host{"sapprd01", 0, nullptr, nullptr};
  RFC_OPTIONS options{"PRD", RFC_MODE_R3ONLY, &host, "000", "MONI        ", "secret    ", "E", 0};
  RFC_HANDLE handle = api.Open(&options);
  Status status = Status::Error("no connection");
  if (handle != RFC_HANDLE_NULL) {
    SystemInfo info;
    status = ReadSystemInfo(session, handle, &info);
    if (status.ok()) {
      FUZZ_CHECK(info.database_system.size() <= 10 && info.host.size() <= 8);
      status = MeasureCurrentSizes(session, handle, sink);
    }
  }
  if (status.ok() && !item_mode) writer->EndSystem();
  std::fclose(stream);
  const std::string document(printed, printed_size);
  std::free(printed);

  if (status.ok()) {
    if (!item_mode && mode == OutputMode::kExeXml) {
      FUZZ_CHECK(StartsWith(document, "\n<Prtg>\n\n<Text>(PRD) OraSizes: NoSpc="));
      FUZZ_CHECK(EndsWith(document, "\n</Prtg>\n"));
      FUZZ_CHECK(Count(document, "<Result>") == Count(document, "</Result>"));
      FUZZ_CHECK(Count(document, "<") == Count(document, ">"));
      for (char c : document) {
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r');
      }
    }
    if (item_mode && !item.item_found()) FUZZ_CHECK(document.empty());
  } else {
    FUZZ_CHECK(!status.message().empty());
    if (status.is_rfc_failure()) {
      FUZZ_CHECK(StartsWith(status.message(), "Error 101"));
      RealFileSystem files;
      FUZZ_CHECK(StartsWith(ScanTraceFile(files, {}, folder.path() + kTraceFileName), " - "));
    }
  }
  api.Close(RFC_HANDLE_NULL);
  std::remove((folder.path() + kTraceFileName).c_str());
  return 0;
}
