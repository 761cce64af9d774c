#include "rfc/trace_file.h"

#include <gtest/gtest.h>

namespace vaultgauge {
namespace {

TEST(ScanTraceFileTest, TakesTheMessageOfTheLastErrorSection) {
  struct Case {
    const char* name;
    std::string contents;
    std::string appended;
  } cases[] = {
      {"empty file", "", " - Please Check Trace-File !"},
      {"no error section", "some trace line\n", " - Please Check Trace-File !"},
      {"ERROR line, 12-column label", "ERROR       connection refused\n", " - connection refused"},
      {"arrow at column 8", "H00001 ======> Name or password is incorrect\n",
       " - Name or password is incorrect"},
      {"arrow wins after ERROR",
       "**** ERROR x\nERROR key   RFC_ERROR_LOGON_FAILURE\n"
       "H00000 ======> logon refused\n",
       " - logon refused"},
      {"last section without message",
       "**** ERROR a\nERROR       first\n**** ERROR b\nno message here\n",
       " - Please Check Trace-File !"},
      {"a later section's message wins",
       "**** ERROR a\nERROR       first\n**** ERROR b\n"
       "ERROR       second\n",
       " - second"},
      {"short ERROR piece gives nothing", "ERROR       first\nERROR short\n",
       " - Please Check Trace-File !"},
      {"ERROR without blank is no label", "ERRORS      x\n", " - Please Check Trace-File !"},
      {"arrow elsewhere is no message", "H0001 ======> x\n", " - Please Check Trace-File !"},
      {"section head needs its blank", "ERROR       kept\n**** ERRORS\n", " - kept"},
      {"line end of a Windows file", "ERROR       text\r\n", " - text"},
      {"no final line end", "ERROR       text", " - text"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.Add("Dev_Rfc.Trc", c.contents);
    EXPECT_EQ(ScanTraceFile(files), c.appended) << c.name;
  }
}

TEST(ScanTraceFileTest, WithoutTraceFileAsksToLookForIt) {
  MemoryFileSystem files;
  EXPECT_EQ(ScanTraceFile(files), " - Look for Trace-File");
}

TEST(ScanTraceFileTest, ReadsLongLinesInPiecesOf99Characters) {
  MemoryFileSystem files;
  // The message line is cut after 99 characters; the rest is a piece of its
  // own, and a piece beginning "ERROR " there counts as an ERROR line.
  std::string long_message = "ERROR       " + std::string(87, 'm') + "ERROR       tail\n";
  files.Add("Dev_Rfc.Trc", long_message);
  EXPECT_EQ(ScanTraceFile(files), " - tail");

  // A continuation that is no ERROR line leaves the first piece's text.
  files.Add("Dev_Rfc.Trc", "ERROR       " + std::string(87, 'm') + "xyz\n");
  EXPECT_EQ(ScanTraceFile(files), " - " + std::string(87, 'm'));

  files.Add("Dev_Rfc.Trc", "ERROR       " + std::string(87, 'm') + "\n");
  EXPECT_EQ(ScanTraceFile(files), " - " + std::string(87, 'm'));
}

}  // namespace
}  // namespace vaultgauge
