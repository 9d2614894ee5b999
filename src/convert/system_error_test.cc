#include "convert/system_error.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

TEST(PrintSystemError, CodeAndTextOnOneLine) {
  testing::internal::CaptureStdout();
  PrintSystemError(ERROR_INVALID_PARAMETER);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Error #87. The code page or an argument is not valid.\n");
}

TEST(PrintSystemError, CodeWithoutTextLeavesTheLineOpen) {
  testing::internal::CaptureStdout();
  PrintSystemError(4242);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error #4242. ");
  testing::internal::CaptureStdout();
  PrintSystemError(0xFFFFFFFFu); // taken as a signed 32-bit value
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error #-1. ");
}
