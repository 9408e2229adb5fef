#include "host/failure_report_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace launcher {
namespace {

TEST(FailureReport, FirstLineCarriesTheLocationInEightUpperCaseHexDigits) {
  std::array<char, 256> buffer{};
  const std::size_t length = FormatFailureReport(0x0040ab3c, "Access violation", buffer);
  EXPECT_EQ(std::string(buffer.data(), length),
            "An unhandled exception occurred at $0040AB3C :\r\nAccess violation\r\n");
  EXPECT_EQ(buffer[length], '\0');

  FormatFailureReport(0, "x", buffer);
  EXPECT_EQ(std::string(buffer.data()).substr(0, 47),
            "An unhandled exception occurred at $00000000 :\r");
  FormatFailureReport(0xFFFFFFFF, "x", buffer);
  EXPECT_EQ(std::string(buffer.data()).substr(36, 8), "FFFFFFFF");
}

TEST(FailureReport, ReportThatDoesNotFitIsCutAndTerminated) {
  std::array<char, 10> small{};
  EXPECT_EQ(FormatFailureReport(1, "kind", small), 9u);
  EXPECT_EQ(std::string(small.data()), "An unhand");
}

}  // namespace
}  // namespace launcher
