#include "output/channel_settings.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(ChannelSettings, GrowingCountersAreDifferencesInCount) {
  for (const char* statistic :
       {"PhysReads", "PhysWrites", "QueInserts", "OverFlows", "GrpCommits", "WaitOnWrites"}) {
    const ChannelSettings settings = prtg_channel_settings(statistic, "12,5");
    EXPECT_EQ(settings.mode, "Difference") << statistic;
    EXPECT_EQ(settings.unit, "Count") << statistic;
    // A counter's text goes out as read, even one PRTG will not take.
    EXPECT_EQ(settings.value, "12,5") << statistic;
    EXPECT_FALSE(settings.is_float) << statistic;
    EXPECT_EQ(settings.limit_max_warning.empty(), std::string(statistic) != "OverFlows")
        << statistic;
  }
  const ChannelSettings overflows = prtg_channel_settings("OverFlows", "317");
  EXPECT_EQ(overflows.limit_max_warning, "0");
  EXPECT_FALSE(overflows.limit_warning_message.empty());
}

TEST(ChannelSettings, QueueLevelsAreAbsoluteAndKeepTheirUnit) {
  for (const char* statistic : {"QuePages", "MaxUsed"}) {
    const ChannelSettings settings = prtg_channel_settings(statistic, "1,5");
    EXPECT_EQ(settings.mode, "Absolute") << statistic;
    EXPECT_EQ(settings.unit, "") << statistic;
    EXPECT_EQ(settings.value, "1,5") << statistic;
    EXPECT_FALSE(settings.is_float) << statistic;
    EXPECT_EQ(settings.limit_max_warning, "") << statistic;
  }
}

TEST(ChannelSettings, AveragesAreFloatsWhenTheyReadAsNumbers) {
  const std::pair<const char*, const char*> numbers[] = {
      {"12,5", "12.5"}, {"12.5", "12.5"}, {"12", "12"},     {"0042", "0042"},
      {"-0,5", "-0.5"}, {"  7,25", "7.25"}, {"3,14159", "3.14159"},
  };
  for (const char* statistic : {"MaxWaitsOnPage", "AvgWaitsOnPage"}) {
    for (const auto& [read, sent] : numbers) {
      const ChannelSettings settings = prtg_channel_settings(statistic, read);
      EXPECT_EQ(settings.mode, "Absolute") << statistic << " " << read;
      EXPECT_TRUE(settings.is_float) << statistic << " " << read;
      EXPECT_EQ(settings.value, sent) << statistic << " " << read;
      EXPECT_EQ(settings.unit, "") << statistic;
    }
    // Anything PRTG could not read as one number goes out unchanged, without the flag.
    for (const char* read : {"", "n/a", "1.234,5", "12,", ",5", ".5", "1 024", "12,5x", "-",
                             "+3", "1,2,3", "12,5 ms"}) {
      const ChannelSettings settings = prtg_channel_settings(statistic, read);
      EXPECT_EQ(settings.mode, "Absolute") << statistic << " [" << read << "]";
      EXPECT_FALSE(settings.is_float) << statistic << " [" << read << "]";
      EXPECT_EQ(settings.value, read) << statistic << " [" << read << "]";
    }
  }
}

TEST(ChannelSettings, UnknownStatisticGetsNoSettings) {
  // The key is the statistic, never a channel named after a system, and it is exact.
  for (const char* statistic : {"", "PRD.P00", "overflows", "OverFlows ", "Pages"}) {
    const ChannelSettings settings = prtg_channel_settings(statistic, "12,5");
    EXPECT_EQ(settings.mode, "") << statistic;
    EXPECT_EQ(settings.unit, "") << statistic;
    EXPECT_EQ(settings.value, "12,5") << statistic;
    EXPECT_FALSE(settings.is_float) << statistic;
    EXPECT_EQ(settings.limit_max_warning, "") << statistic;
  }
}

TEST(ChannelSettings, SelectorValueIsPrtgOnly) {
  // The option text arrives upper-cased, so "channels=prtg" reads as the first line.
  EXPECT_TRUE(prtg_channels_from("CHANNELS=PRTG", false));
  EXPECT_TRUE(prtg_channels_from("PRD CHANNELS=PRTG,OUTPUT=FISKART", false));
  EXPECT_TRUE(prtg_channels_from("ITEM=QUEPAGES,CHANNELS=PRTG", false));
  EXPECT_FALSE(prtg_channels_from("CHANNELS=PRTG2", true));
  EXPECT_FALSE(prtg_channels_from("CHANNELS=", true));
  EXPECT_FALSE(prtg_channels_from("CHANNELS= PRTG", true));
  EXPECT_FALSE(prtg_channels_from("CHANNELS=NONE CHANNELS=PRTG", true));  // the first counts
  // Without the key the setting stays: off at start-up, the command line's in a list run.
  EXPECT_FALSE(prtg_channels_from("ITEM=QUEPAGES", false));
  EXPECT_TRUE(prtg_channels_from("ITEM=QUEPAGES", true));
  EXPECT_FALSE(prtg_channels_from("CHANNEL=PRTG", false));
}

}  // namespace
}  // namespace tw
