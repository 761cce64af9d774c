#include "rfc/rfc_library.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace vaultgauge {
namespace {

TEST(RfcLibraryTest, LoadsTheLibraryBesideTheProgram) {
  std::unique_ptr<RfcLibrary> library;
  Status status = RfcLibrary::Load(&library);
  ASSERT_TRUE(status.ok()) << status.message();
  ASSERT_NE(library, nullptr);
  // A live entry point: the stand-in has no error yet to tell, or tells one.
  RfcErrorInfo info{};
  int result = library->LastError(&info);
  EXPECT_TRUE(result == 0 || result == 1);
}

TEST(RfcLibraryTest, AMissingLibraryIsError1061) {
  std::unique_ptr<RfcLibrary> library;
  Status status = RfcLibrary::Load(ProgramFolder(), "librfc-not-there.so", &library);
  EXPECT_FALSE(status.is_library_error());
  EXPECT_EQ(status.message(), "Error 1061: RFC-Library librfc-not-there.so cannot be loaded !");
  EXPECT_EQ(library, nullptr);
}

#ifndef _WIN32
TEST(RfcLibraryTest, AMissingEntryPointIsError1062) {
  // The C library loads, but is no RFC library.
  std::unique_ptr<RfcLibrary> library;
  Status status = RfcLibrary::Load("", "libc.so.6", &library);
  EXPECT_EQ(status.message(),
            "Error 1062: RFC-Library libc.so.6 lacks entry point RfcEnvironment !");
  EXPECT_EQ(library, nullptr);
}
#endif

}  // namespace
}  // namespace vaultgauge
