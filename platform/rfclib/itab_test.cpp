#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "itab.h"
#include "saprfc.h"
#include "test_support.h"

namespace {

std::string line_text(ITAB_H table, unsigned line, unsigned length) {
  const void* data = ItGetLine(table, line);
  return data == nullptr ? "<none>" : std::string(static_cast<const char*>(data), length);
}

TEST(InternalTable, LinesCountFromOneAndKeepTheirContentAsTheTableGrows) {
  char name[] = "T";
  ITAB_H table = ItCreate(name, 5, 0, 0);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(ItFill(table), 0u);
  EXPECT_EQ(ItGetLine(table, 1), nullptr);
  for (int i = 0; i < 1000; ++i) {
    char* line = static_cast<char*>(ItAppLine(table));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(std::string(line, 5), std::string(5, '\0'));
    std::snprintf(line, 5, "%04d", i);
  }
  EXPECT_EQ(ItFill(table), 1000u);
  EXPECT_EQ(line_text(table, 1, 4), "0000");
  EXPECT_EQ(line_text(table, 500, 4), "0499");
  EXPECT_EQ(line_text(table, 1000, 4), "0999");
  EXPECT_EQ(ItGetLine(table, 0), nullptr);
  EXPECT_EQ(ItGetLine(table, 1001), nullptr);
  EXPECT_EQ(ItDelete(table), 0);
}

TEST(InternalTable, NullAndEmptyTablesAreHandled) {
  char name[] = "T";
  EXPECT_EQ(ItCreate(name, 0, 0, 0), nullptr);
  EXPECT_EQ(ItFill(nullptr), 0u);
  EXPECT_EQ(ItGetLine(nullptr, 1), nullptr);
  EXPECT_EQ(ItAppLine(nullptr), nullptr);
  EXPECT_NE(ItDelete(nullptr), 0);
}

/// An allocator that gives out a fixed budget of calls, then runs dry.
struct Budget {
  static inline int calls_left = 0;
  static void* allocate(void* old, unsigned long size) {
    if (size == 0) {
      std::free(old);
      return nullptr;
    }
    if (calls_left-- <= 0) return nullptr;
    return std::realloc(old, size);
  }
};

TEST(InternalTable, MemoryRunningOutCallsTheErrorHandler) {
  tw::testing::ScratchDirectory scratch;
  tw::testing::LibraryReset reset;
  tw::testing::HandlerLog log;
  RFC_ENV environment{&tw::testing::HandlerLog::handler, &Budget::allocate};
  RfcEnvironment(&environment);
  Budget::calls_left = 1;
  char name[] = "T";
  ITAB_H table = ItCreate(name, 8, 0, 0);
  ASSERT_NE(table, nullptr);
  for (int i = 0; i < 16; ++i) ASSERT_NE(ItAppLine(table), nullptr) << i;  // the first block
  EXPECT_EQ(ItAppLine(table), nullptr);
  EXPECT_EQ(ItFill(table), 16u);
  EXPECT_EQ(tw::testing::HandlerLog::calls, "ItAppLine;");
  RFC_ERROR_INFO info;
  RfcLastError(&info);
  EXPECT_STREQ(info.key, "RFC_ERROR_RESOURCE");
  EXPECT_EQ(ItDelete(table), 0);
}

}  // namespace
