// The plain-text forms for the two line-reading hosts: "Halvenor" writes
// Message./Statistic. lines, "Ormilux" "> name: value unit" lines or, with
// "CH=", one bare value.
#ifndef VAULTGAUGE_OUTPUT_LINE_WRITERS_H_
#define VAULTGAUGE_OUTPUT_LINE_WRITERS_H_

#include "output/document_writer.h"

namespace vaultgauge {

// The unit as the line modes write it.
std::string_view UnitDisplayForm(std::string_view unit);

// What both line forms share: no head, the text as a "# " line, a line end
// as the tail.
class LineWriter : public DocumentWriter {
 public:
  using DocumentWriter::DocumentWriter;

 protected:
  std::string Head() override { return std::string(); }
  std::string Text(std::string_view text) override { return "\n# " + std::string(text); }
  std::string Tail() override { return "\n"; }
};

class HalvenorWriter : public LineWriter {
 public:
  using LineWriter::LineWriter;

  // The host reads no more channels than this.
  static constexpr unsigned kChannelLimit = 10;

 protected:
  std::string ChannelPiece(unsigned counter, std::string_view name, std::string_view value,
                           std::string_view unit) override;
};

class OrmiluxWriter : public LineWriter {
 public:
  OrmiluxWriter(std::FILE* stream, ChannelSelection selection)
      : LineWriter(stream), selection_(selection) {}

 protected:
  std::string Text(std::string_view text) override;
  std::string ChannelPiece(unsigned counter, std::string_view name, std::string_view value,
                           std::string_view unit) override;

 private:
  ChannelSelection selection_;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_OUTPUT_LINE_WRITERS_H_
