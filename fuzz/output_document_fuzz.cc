// The document in every output mode under any sequence of writes: the output
// buffer never passes its capacity, and the error document keeps its frame
// and carries the message, escaped and at most cut short, whatever it holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "output/output.h"
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

void CheckErrorDocument(const std::string& document, const std::string& message) {
  FUZZ_CHECK(document.size() <= OutputBuffer::kMaxLength);
  FUZZ_CHECK(StartsWith(document, kErrorHead));
  FUZZ_CHECK(document.size() >= kErrorHead.size() + kErrorTail.size());
  FUZZ_CHECK(document.compare(document.size() - kErrorTail.size(), kErrorTail.size(), kErrorTail) ==
             0);
  std::string_view xml = std::string_view(document).substr(
      kErrorHead.size(), document.size() - kErrorHead.size() - kErrorTail.size());
  std::string text;
  FUZZ_CHECK(Unescape(xml, &text));
  // The message, its control characters shown as "?"; cut short only where the
  // whole document would not fit.
  std::string shown = message;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
  }
  FUZZ_CHECK(shown.compare(0, text.size(), text) == 0);
  if (text.size() < shown.size()) FUZZ_CHECK(document.size() + 5 > OutputBuffer::kMaxLength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* nowhere = std::fopen("/dev/null", "w");
  FuzzedDataProvider input(data, size);
  std::string parameter_text = UpperCase(input.ConsumeRandomLengthString(127));
  Output output(nowhere, parameter_text);
  const OutputMode modes[] = {OutputMode::kExeXml, OutputMode::kGlimora, OutputMode::kHalvenor,
                              OutputMode::kOrmilux, OutputMode::kTessvar};
  output.set_mode(modes[input.ConsumeIntegralInRange(0, 4)]);

  while (input.remaining_bytes() > 0) {
    const size_t length = input.ConsumeIntegralInRange<size_t>(0, 6000);
    switch (input.ConsumeIntegralInRange(0, 10)) {
      case 0:
        output.OutputHead();
        break;
      case 1:
        output.OutputTextOpen();
        break;
      case 2:
        output.AppendText(input.ConsumeBytesAsString(length));
        break;
      case 3:
        output.OutputTextClose();
        break;
      case 4:
        output.OutputTail();
        break;
      case 5: {
        std::string name = input.ConsumeRandomLengthString(200);
        std::string value = input.ConsumeRandomLengthString(200);
        output.OutputChannel(name, value, input.ConsumeRandomLengthString(200));
        break;
      }
      case 6: {
        std::string message = input.ConsumeBytesAsString(length);
        output.OutputError(message);
        CheckErrorDocument(output.buffer().text(), message);
        break;
      }
      case 7: {
        // The driver's way: the failed step's text becomes the message.
        std::string message = output.buffer().text();
        output.OutputError(output.buffer().text());
        CheckErrorDocument(output.buffer().text(), message);
        break;
      }
      case 8:
        output.OutputFlush();
        FUZZ_CHECK(output.buffer().empty());
        break;
      case 9:
        output.Append(input.ConsumeBytesAsString(length));
        break;
      default:
        output.Clear();
    }
    FUZZ_CHECK(output.buffer().text().size() <= OutputBuffer::kMaxLength);
  }
  return 0;
}
