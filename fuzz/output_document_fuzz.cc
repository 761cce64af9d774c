// The document in every output mode under any sequence of writes: no piece
// passes its limit, and the error document keeps its frame and carries the
// message, escaped and at most cut short, whatever it holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "output/document_writer.h"
#include "util/text.h"

namespace {

using namespace vaultgauge;

constexpr std::string_view kErrorHead = "<Prtg>\n<Error>1</Error>\n<Text>";
constexpr std::string_view kErrorTail = "</Text>\n</Prtg>\n";

// The XML text of the document's message back to the message; false when it
// holds markup or a control character that escaping should have prevented.
bool Unescape(std::string_view xml, std::string* text) {
  text->clear();
  for (size_t i = 0; i < xml.size(); ++i) {
    if (xml[i] == '<' || xml[i] == '>') return false;
    if (static_cast<unsigned char>(xml[i]) < 0x20 && xml[i] != '\t' && xml[i] != '\n' &&
        xml[i] != '\r') {
      return false;
    }
    if (xml[i] != '&') {
      *text += xml[i];
      continue;
    }
    std::string_view rest = xml.substr(i);
    if (StartsWith(rest, "&amp;")) {
      *text += '&';
      i += 4;
    } else if (StartsWith(rest, "&lt;")) {
      *text += '<';
      i += 3;
    } else if (StartsWith(rest, "&gt;")) {
      *text += '>';
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

// Whether `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

void CheckErrorDocument(const std::string& document, const std::string& message) {
  FUZZ_CHECK(document.size() <= DocumentWriter::kPieceLimit);
  FUZZ_CHECK(StartsWith(document, kErrorHead));
  FUZZ_CHECK(document.size() >= kErrorHead.size() + kErrorTail.size());
  FUZZ_CHECK(document.compare(document.size() - kErrorTail.size(), kErrorTail.size(), kErrorTail) ==
             0);
  std::string_view xml = std::string_view(document).substr(
      kErrorHead.size(), document.size() - kErrorHead.size() - kErrorTail.size());
  std::string text;
  FUZZ_CHECK(Unescape(xml, &text));
  // UTF-8 through and through, whatever bytes the message held.
  FUZZ_CHECK(IsUtf8(text));
  // The message where it is ASCII, its control characters shown as "?"; cut
  // short only where the whole document would not fit.
  std::string shown = message;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
  }
  const bool ascii = std::all_of(message.begin(), message.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) FUZZ_CHECK(shown.compare(0, text.size(), text) == 0);
  if (text.size() < shown.size() && ascii) {
    FUZZ_CHECK(document.size() + 5 > DocumentWriter::kPieceLimit);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  char* written = nullptr;
  size_t written_size = 0;
  std::FILE* stream = open_memstream(&written, &written_size);
  const OutputMode modes[] = {OutputMode::kExeXml, OutputMode::kGlimora, OutputMode::kHalvenor,
                              OutputMode::kOrmilux, OutputMode::kTessvar};
  ChannelSelection selection{input.ConsumeBool(), input.ConsumeIntegralInRange(-1, 1000)};
  const OutputMode mode = modes[input.ConsumeIntegralInRange(0, 4)];
  std::unique_ptr<DocumentWriter> writer = MakeDocumentWriter(mode, selection, stream);

  bool ended = false;
  while (input.remaining_bytes() > 0) {
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, 6000);
    std::fflush(stream);
    const size_t before = written_size;
    std::string message;
    switch (input.ConsumeIntegralInRange(0, 5)) {
      case 0:
        writer->BeginSystem(input.ConsumeBytesAsString(length));
        break;
      case 1:
        writer->BeginList();
        break;
      case 2:
        writer->EndSystem();
        break;
      case 3:
        writer->EndList(input.ConsumeBytesAsString(length));
        break;
      case 4: {
        std::string name = input.ConsumeRandomLengthString(200);
        std::string value = input.ConsumeRandomLengthString(200);
        writer->Channel(name, value, input.ConsumeRandomLengthString(200));
        break;
      }
      default:
        message = input.ConsumeBytesAsString(length);
        writer->Error(message);
        std::fflush(stream);
        // The first error document ends the output: nothing follows it.
        if (ended) {
          FUZZ_CHECK(written_size == before);
        } else {
          const std::string piece(written + before, written_size - before);
          // An XML writer drops the document it held for the error document.
          CheckErrorDocument(piece.substr(piece.find("<Prtg>\n<Error>")), message);
        }
        ended = true;
    }
    std::fflush(stream);
    // The line modes write as they go: one piece and at most the line end a
    // list's head and tail are followed by. (The XML modes write what they
    // held at the document's end.)
    if (!IsXmlMode(mode)) FUZZ_CHECK(written_size - before <= DocumentWriter::kPieceLimit + 1);
  }
  std::fclose(stream);
  std::free(written);
  return 0;
}
