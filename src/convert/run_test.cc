#include "convert/run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "convert/invariants.h"
#include "convert/state.h"

namespace {

class ConvertFileTest : public testing::Test {
protected:
  void SetUp() override {
    char folder[] = "/tmp/odrim-run-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    folder_ = folder;
    in_ = folder_ + "/in";
    out_ = folder_ + "/out";
  }
  void TearDown() override {
    std::remove(in_.c_str());
    std::remove(out_.c_str());
    rmdir(folder_.c_str());
  }

  // Converts bytes; returns the console text.
  std::string Convert(const std::string &bytes, int incp, int outcp,
                      const char *defChar = nullptr) {
    std::ofstream(in_, std::ios::binary) << bytes;
    testing::internal::CaptureStdout();
    ConvertFile(in_.c_str(), incp, out_.c_str(), outcp, defChar);
    return testing::internal::GetCapturedStdout();
  }

  std::string folder_, in_, out_;
};

std::size_t CountRows(const std::string &console) {
  std::size_t rows = 0;
  for (std::size_t at = 0;
       (at = console.find("-default\n", at)) != std::string::npos; ++at)
    ++rows;
  for (std::size_t at = 0;
       (at = console.find("-variant\n", at)) != std::string::npos; ++at)
    ++rows;
  return rows;
}

} // namespace

TEST_F(ConvertFileTest, CountersAgreeWithFilesAndReportAfterEveryRun) {
  const struct {
    std::string bytes;
    int incp, outcp;
    const char *defChar;
  } cases[] = {
      {"plain ascii\n", 1252, 437, nullptr},
      {std::string("\xCE\xAA\xB9\xFA\x81\x20x\xD9\xEC\x81", 10), 936, 950,
       nullptr},
      {std::string("\xCE\xAA\xB9\xFA\x81\x20x\xD9\xEC\x81", 10), 936, 950, "0"},
      {std::string("\xFF\xFE\x0B\x57\x01\x0E\x00\xD8\x41", 9), 1200, 1252, "0"},
      {std::string("\xFF\xFE\x0B\x57\x01\x0E\x00\xD8\x41", 9), 1200, 936,
       "A1A1"},
      {std::string("a\x80\xA0\x82\xA0", 5), 932, 1200, "3042"},
      {std::string("\x80\x81\x8D\x8F\x90\x9D", 6), 1252, 37, nullptr},
      {"", 936, 950, nullptr},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.incp << " to " << c.outcp);
    std::string console = Convert(c.bytes, c.incp, c.outcp, c.defChar);
    EXPECT_TRUE(lastRun.completed);
    EXPECT_EQ(CheckRunInvariants(), "");
    EXPECT_EQ(static_cast<std::int64_t>(CountRows(console)),
              lastRun.reportRows);
    EXPECT_EQ(ConversionCounters.inputBytes,
              static_cast<std::int64_t>(c.bytes.size()));
  }
}

TEST_F(ConvertFileTest, InvariantCheckCatchesACounterThatLies) {
  Convert(std::string("\xCE\xAA", 2), 936, 950);
  ASSERT_EQ(CheckRunInvariants(), "");
  ++ConversionCounters.outputBytes;
  EXPECT_NE(CheckRunInvariants().find("outputBytes"), std::string::npos);
  --ConversionCounters.outputBytes;
  ++ConversionCounters.outputVariant;
  EXPECT_NE(CheckRunInvariants().find("report rows"), std::string::npos);
}

TEST_F(ConvertFileTest, LongInputAcrossBufferBoundaries) {
  // Lead and trail bytes straddle the read buffer's edge at every offset
  // parity; the result equals converting the pieces one by one.
  std::string unit = "a\xB9\xFA"; // a 国
  std::string bytes;
  while (bytes.size() < 3 * (1u << 18) + 7)
    bytes += unit;
  std::string console = Convert(bytes, 936, 950);
  EXPECT_EQ(CheckRunInvariants(), "");
  std::ifstream output(out_, std::ios::binary);
  std::string written((std::istreambuf_iterator<char>(output)), {});
  std::string expected;
  for (std::size_t i = 0; i < bytes.size() / 3; ++i)
    expected += "a\xB0\xEA"; // a 國
  EXPECT_EQ(written, expected);
  EXPECT_EQ(console.find("Imperfect"), std::string::npos);
}
