#include "output/report.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(GroupDigits, InsertsAtMostTwoSeparators) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},           {"7", "7"},           {"999", "999"},
      {"1000", "1.000"},  {"1234", "1.234"},    {"100000", "100.000"},
      {"123456", "123.456"}, {"1000000", "1.000.000"}, {"1234567890", "1234.567.890"},
  };
  for (const auto& [in, want] : cases) {
    std::string text = in;
    group_digits(text);
    EXPECT_EQ(text, want) << "for " << in;
  }
}

/// The single-system document of two channels, as every mode writes it.
std::string two_channel_run(Report& report, std::string_view message = "T<&>") {
  std::string printed;
  open_document(report);
  open_text(report);
  report_append(report, message);
  close_text(report);
  printed += report.buffer;
  report.buffer.clear();
  add_channel(report, "PhysReads", "12", "");
  add_channel(report, "QuePages", "7", "Pages");
  close_document(report);
  return printed + report.buffer;
}

TEST(Report, SingleSystemDocumentByteForByte) {
  Report report;
  EXPECT_EQ(two_channel_run(report, "T"),
            "\n<Prtg>\n"
            "\n<Text>T</Text>\n"
            "\n<Result><Channel>PhysReads</Channel>\n<Value>12</Value></Result>\n"
            "\n<Result><Channel>QuePages</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>Pages</CustomUnit>\n<Value>7</Value></Result>\n"
            "\n</Prtg>\n");
  EXPECT_EQ(report.channel_counter, 2);
}

TEST(Report, UnitsAreCustomAndVerbatim) {
  Report report;
  add_channel(report, "Load", "50", "PerCent");
  EXPECT_EQ(report.buffer,
            "\n<Result><Channel>Load</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>PerCent</CustomUnit>\n<Value>50</Value></Result>\n");
}

TEST(Report, ErrorDocumentReplacesTheBufferInEveryMode) {
  for (const char* mode : {"EXEXML", "Wendlow", "Fiskart", "Tamberly", "Brassik"}) {
    Report report;
    report.output_mode = mode;
    report.buffer = "old content";
    write_error_document(report, "Error 1018: DataBase mismatch !");
    EXPECT_EQ(report.buffer,
              "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n")
        << mode;
  }
  // The message may be the buffer's own content.
  Report report;
  report_append(report, "Error 1014: RFC-Failure raised !");
  write_error_document(report, report.buffer);
  EXPECT_EQ(report.buffer,
            "<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised !</Text>\n</Prtg>\n");
}

TEST(Report, MarkupCharactersAreEscapedOnce) {
  Report report;
  // Collected outside a message text, an error text stays raw until it becomes the message
  // of the error document, which escapes it.
  report_append(report, "Error 1012: Exception.: <A&B>");
  write_error_document(report, report.buffer);
  EXPECT_NE(report.buffer.find("<Text>Error 1012: Exception.: &lt;A&amp;B&gt;</Text>"),
            std::string::npos);

  Report document;
  open_document(document);
  open_text(document);
  report_append(document, "a<b");
  close_text(document);
  add_channel(document, "R&D", "<1>", "x>y");
  EXPECT_EQ(document.buffer,
            "\n<Prtg>\n\n<Text>a&lt;b</Text>\n"
            "\n<Result><Channel>R&amp;D</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>x&gt;y</CustomUnit>\n<Value>&lt;1&gt;</Value></Result>\n");
}

TEST(Report, PrtgChannelSettingsFollowTheValue) {
  Report report;
  report.prtg_channels = true;
  // A system's channel of a list run: named after the system, set by the item's statistic.
  add_channel(report, "PRD.P00", "3", "", "OverFlows");
  add_channel(report, "QuePages", "400", "Pages", "QuePages");
  add_channel(report, "AvgWaitsOnPage", "12,5", "", "AvgWaitsOnPage");
  add_channel(report, "R&D", "<1>", "", "GrpCommits");
  EXPECT_EQ(report.buffer,
            "\n<Result><Channel>PRD.P00</Channel>\n<Unit>Count</Unit>\n<Value>3</Value>"
            "\n<Mode>Difference</Mode>\n<LimitMaxWarning>0</LimitMaxWarning>"
            "\n<LimitWarningMsg>Log queue overflowed since the last scan</LimitWarningMsg>"
            "\n<LimitMode>1</LimitMode></Result>\n"
            "\n<Result><Channel>QuePages</Channel>\n<Unit>Custom</Unit>"
            "\n<CustomUnit>Pages</CustomUnit>\n<Value>400</Value>\n<Mode>Absolute</Mode></Result>\n"
            "\n<Result><Channel>AvgWaitsOnPage</Channel>\n<Value>12.5</Value>"
            "\n<Mode>Absolute</Mode>\n<Float>1</Float></Result>\n"
            "\n<Result><Channel>R&amp;D</Channel>\n<Unit>Count</Unit>\n<Value>&lt;1&gt;</Value>"
            "\n<Mode>Difference</Mode></Result>\n");
  EXPECT_EQ(report.channel_counter, 4);
}

TEST(Report, WithoutTheSelectorNothingChanges) {
  Report plain;
  Report selected;
  selected.prtg_channels = true;
  // A statistic without settings writes the Result as without the selector.
  add_channel(selected, "Load", "12,5", "PerCent", "Load");
  add_channel(plain, "Load", "12,5", "PerCent");
  EXPECT_EQ(selected.buffer, plain.buffer);

  Report off;
  add_channel(off, "OverFlows", "12,5", "", "OverFlows");
  EXPECT_EQ(off.buffer, "\n<Result><Channel>OverFlows</Channel>\n<Value>12,5</Value></Result>\n");

  // The plain-text dialects ignore the settings.
  for (const char* mode : {"Tamberly", "Brassik"}) {
    Report without;
    without.output_mode = mode;
    add_channel(without, "AvgWaitsOnPage", "12,5", "");
    Report with;
    with.output_mode = mode;
    with.prtg_channels = true;
    add_channel(with, "AvgWaitsOnPage", "12,5", "", "AvgWaitsOnPage");
    EXPECT_EQ(with.buffer, without.buffer) << mode;
    EXPECT_NE(with.buffer.find("12,5"), std::string::npos) << mode;
  }
}

TEST(Report, XmlTextIsUtf8WhateverTheBytes) {
  // Well-formed UTF-8 and plain ASCII pass as they are.
  EXPECT_EQ(xml_escape("Kennwort ung\xC3\xBCltig \xE2\x82\xAC \xF0\x9F\x98\x80"),
            "Kennwort ung\xC3\xBCltig \xE2\x82\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(xml_escape("Log queue pages\t| 4\r\n~\x7F"), "Log queue pages\t| 4\r\n~\x7F");
  // Other bytes from 0x80 up are Windows-1252 characters.
  EXPECT_EQ(xml_escape("\xDC ung\xFCltig"), "\xC3\x9C ung\xC3\xBCltig");
  EXPECT_EQ(xml_escape("\x80\x9F\xA0\xFF"), "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF");
  // Overlong forms, surrogates, a cut sequence and a stray continuation byte are no UTF-8.
  EXPECT_EQ(xml_escape("\xC0\xAF"), "\xC3\x80\xC2\xAF");
  EXPECT_EQ(xml_escape("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
  EXPECT_EQ(xml_escape("\xC3"), "\xC3\x83");
  EXPECT_EQ(xml_escape("a\xBF"), "a\xC2\xBF");
  // Forbidden characters and bytes without a character show as the placeholder.
  const std::string placeholder = "\xEF\xBF\xBD";
  EXPECT_EQ(xml_escape(std::string_view("4\x01|\0|\x1F", 6)),
            "4" + placeholder + "|" + placeholder + "|" + placeholder);
  EXPECT_EQ(xml_escape("\x81\x8D\x8F\x90\x9D"),
            placeholder + placeholder + placeholder + placeholder + placeholder);
  EXPECT_EQ(xml_escape("\xEF\xBF\xBE\xEF\xBF\xBF"), placeholder + placeholder);
  // An entity and a Windows-1252 byte side by side.
  EXPECT_EQ(xml_escape("<\xE4>&"), "&lt;\xC3\xA4&gt;&amp;");
}

TEST(Report, EveryXmlPathWritesUtf8) {
  for (const char* mode : {"EXEXML", "Wendlow", "Fiskart", "Tamberly", "Brassik"}) {
    Report report;
    report.output_mode = mode;
    write_error_document(report, "Error 1012: Exception.: \x01ung\xFCltig");
    EXPECT_NE(report.buffer.find("<Text>Error 1012: Exception.: \xEF\xBF\xBDung\xC3\xBCltig</Text>"),
              std::string::npos)
        << mode;
  }
  Report document;
  open_document(document);
  open_text(document);
  report_append(document, "\xDC");
  close_text(document);
  add_channel(document, "PR\xC4", "4\x01", "P\xE4ges");
  EXPECT_EQ(document.buffer,
            "\n<Prtg>\n\n<Text>\xC3\x9C</Text>\n"
            "\n<Result><Channel>PR\xC3\x84</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>P\xC3\xA4ges</CustomUnit>\n<Value>4\xEF\xBF\xBD</Value></Result>\n");
  // The plain-text dialects are not XML: their bytes stay as they are.
  Report plain;
  plain.output_mode = "Brassik";
  add_channel(plain, "PR\xC4", "4\x01", "");
  EXPECT_EQ(plain.buffer, "\n> PR\xC4: 4\x01 #");
}

TEST(Report, ChannelCounterCountsEveryCall) {
  Report report;
  for (int i = 1; i <= 10; ++i) {
    add_channel(report, "c", "1", "");
    EXPECT_EQ(report.channel_counter, i);
  }
}

TEST(HostDialects, PlainTextModes) {
  Report tamberly;
  tamberly.output_mode = "Tamberly";
  EXPECT_EQ(two_channel_run(tamberly),
            "\n# T<&>"
            "\n\nMessage.PhysReads: PhysReads (#)\nStatistic.PhysReads: 12"
            "\n\nMessage.QuePages: QuePages (Pages)\nStatistic.QuePages: 7\n");

  Report brassik;
  brassik.output_mode = "Brassik";
  EXPECT_EQ(two_channel_run(brassik), "\n# T<&>\n> PhysReads: 12 #\n> QuePages: 7 Pages\n");

  for (const char* mode : {"Wendlow", "Fiskart"}) {
    Report prtg;
    Report same;
    same.output_mode = mode;
    EXPECT_EQ(two_channel_run(same), two_channel_run(prtg)) << mode;
  }
}

TEST(HostDialects, BrassikSelectedChannel) {
  for (const auto& [option, printed] : std::initializer_list<std::pair<const char*, const char*>>{
           {"CH=2", "7\n"}, {"ch=1", "12\n"}, {"CH=9", "\n"}, {"CH= 2,x", "7\n"},
           {"CH=0002", "\n"}, {"CH=x", "\n"}}) {
    Report report;
    report.output_mode = "Brassik";
    std::string upper = option;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    select_channel(report, upper, option);
    EXPECT_EQ(two_channel_run(report), printed) << option;
  }
  Report report;
  select_channel(report, "CH=1234", "CH=1234");
  EXPECT_EQ(report.selected_channel, 123);
}

TEST(HostDialects, TamberlyStopsAtTenChannelsButCountsOn) {
  Report report;
  report.output_mode = "Tamberly";
  for (int i = 0; i < 12; ++i) add_channel(report, "c", "1", "");
  EXPECT_EQ(report.channel_counter, 12);
  std::size_t messages = 0;
  for (std::size_t at = report.buffer.find("Message."); at != std::string::npos;
       at = report.buffer.find("Message.", at + 1)) {
    ++messages;
  }
  EXPECT_EQ(messages, 10u);
}

TEST(HostDialects, KeysUnitsAndModes) {
  EXPECT_EQ(channel_key("LOG QUEUE (MAX)"), "LOG_QUEUE__MAX_");
  EXPECT_EQ(channel_key("a.b.c"), "a_b.c");
  EXPECT_EQ(channel_key("x/y\\z[1]*:-"), "x_y_z_1____");
  EXPECT_EQ(display_unit(""), "#");
  EXPECT_EQ(display_unit("PerCent"), "%");
  EXPECT_EQ(display_unit("TimeResponse"), "mSec");
  EXPECT_EQ(display_unit("percent"), "percent");
  EXPECT_EQ(output_mode_from(""), "EXEXML");
  EXPECT_EQ(output_mode_from("# OUTPUT=TAMBERLY,CH=2"), "Tamberly");
  EXPECT_EQ(output_mode_from("OUTPUT=BRASSIK"), "Brassik");
  EXPECT_EQ(output_mode_from("OUTPUT=WENDLOWX"), "EXEXML");
}

TEST(HostDialects, ErrorTailClosesAnOpenedDocument) {
  Report report;
  write_error_tail(report, "Error 1018: DataBase mismatch !");
  EXPECT_EQ(report.buffer,
            "\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n");
  Report plain;
  plain.output_mode = "Brassik";
  write_error_tail(plain, "E");
  EXPECT_EQ(plain.buffer, "<Prtg>\n<Error>1</Error>\n<Text>E</Text>\n</Prtg>\n");
}

}  // namespace
}  // namespace tw
