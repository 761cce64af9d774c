// PRTG's XML sensor result: modes "EXEXML", "Glimora" and "Tessvar".
#ifndef VAULTGAUGE_OUTPUT_XML_WRITER_H_
#define VAULTGAUGE_OUTPUT_XML_WRITER_H_

#include "output/document_writer.h"

namespace vaultgauge {

class XmlWriter : public DocumentWriter {
 public:
  using DocumentWriter::DocumentWriter;

 protected:
  bool HoldsDocument() const override { return true; }
  std::string Head() override;
  std::string Text(std::string_view text) override;
  std::string ChannelPiece(unsigned counter, std::string_view name, std::string_view value,
                           std::string_view unit) override;
  std::string Tail() override;
  std::string DescribedChannelPiece(unsigned counter, const ChannelDescription& channel) override;
};

}  // namespace vaultgauge

#endif  // VAULTGAUGE_OUTPUT_XML_WRITER_H_
