#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "profile/decode_password.h"
#include "tarnwheel_passwd.h"
#include "profile/profile_record.h"
#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::stream_of;

/// "secret" as a profile stores it.
std::string stored_secret() { return encode_password("secret", 0).value(); }

std::string complete_profile(std::string_view line_end = "\n") {
  std::string text;
  for (std::string line : {std::string("Extcompany.: Example Ltd"), std::string("Destination: PRD"),
                           std::string("Client.....: 100"), std::string("User.......: sap_admin"),
                           "Password...: " + stored_secret(), std::string("Language...: E"),
                           std::string("Mode.......: R/3"), std::string("Hostname...: sapprd"),
                           std::string("Sysnr......: 00"), std::string("Gwhost.....: sapgw"),
                           std::string("Gwservice..: sapgw00")}) {
    text += line;
    text += line_end;
  }
  return text;
}

ProfileReadResult read_single(ProfileRecord& record, std::string_view bytes) {
  return read_profile(record, stream_of(bytes), RunKind::single_system, "PRD.P00");
}

TEST(ReadProfile, CompleteProfileFillsEveryField) {
  for (std::string_view line_end : {"\n", "\r\n"}) {
    ProfileRecord record;
    const ProfileReadResult result = read_single(record, complete_profile(line_end));
    ASSERT_FALSE(result.failed) << result.error;
    EXPECT_EQ(record.extcompany, "Example Ltd");
    EXPECT_EQ(record.destination, "PRD");
    EXPECT_EQ(record.client, "100");
    EXPECT_EQ(record.user, "SAP_ADMIN");
    EXPECT_EQ(record.password, "secret");
    EXPECT_EQ(record.mode, "R/3");
    EXPECT_EQ(record.hostname, "sapprd");
    EXPECT_EQ(record.display_host, "sapprd");
    EXPECT_EQ(record.gwservice, "sapgw00");
  }
}

TEST(ReadProfile, ValuesAreColumnsFourteenToSeventyThree) {
  ProfileRecord record;
  std::string text = complete_profile();
  text += "Client.....: 100 \n";                       // trailing blank kept
  text += "Language...:XD\n";                          // column 13 skipped whatever it is
  text += "Extcompany.: " + std::string(59, 'a') + "bc\n";  // column 74 on is ignored
  text += "Hostname...: \tsap host \n";                // inner and leading blanks kept
  text += "Destination: PRD\n";
  text += "Destination: QAS\n";                        // the last of two counts
  text += "user.......: other\n";                      // another letter case: no label
  text += "User......: other\n";                       // one dot too few: no label
  text += "Mode.......: R/3\r\r\n";                    // only the line end's CR goes
  ASSERT_FALSE(read_single(record, text).failed);
  EXPECT_EQ(record.client, "100 ");
  EXPECT_EQ(record.language, "D");
  EXPECT_EQ(record.extcompany, std::string(59, 'a') + "b");
  EXPECT_EQ(record.hostname, "\tsap host ");
  EXPECT_EQ(record.destination, "QAS");
  EXPECT_EQ(record.user, "SAP_ADMIN");
  EXPECT_EQ(record.mode, "R/3\r");
}

TEST(ReadProfile, ShortValuesAndMissingSeparator) {
  ProfileRecord record;
  // Written without the separator column, R/3 loses its first character: too short.
  auto result = read_single(record, complete_profile() + "Mode.......:R/3\n");
  EXPECT_EQ(record.mode, "/3");
  EXPECT_EQ(result.error, "Error 1003: Invalid Parameter(s) at PRD.P00 found...");

  ProfileRecord empty_value;
  result = read_single(empty_value, complete_profile() + "Sysnr......:\n");
  EXPECT_EQ(empty_value.sysnr, "");
  EXPECT_EQ(result.error, "Error 1003: Invalid Parameter(s) at PRD.P00 found...");
}

TEST(ReadProfile, FaultsInCheckOrder) {
  struct Case {
    std::string text;
    const char* error;
  };
  std::string no_extcompany = complete_profile();
  no_extcompany.erase(0, no_extcompany.find('\n') + 1);
  const Case cases[] = {
      {"", "Error 1006: Username in Profile PRD.P00 is missing..."},
      {"Extcompany.: x\n", "Error 1006: Username in Profile PRD.P00 is missing..."},
      {"User.......: u1\n", "Error 1007: Password in Profile PRD.P00 is missing..."},
      {complete_profile() + "Password...:\n",
       "Error 1007: Password in Profile PRD.P00 is missing..."},
      {no_extcompany, "Error 1003: Invalid Parameter(s) at PRD.P00 found..."},
      {complete_profile() + "Password...: " + stored_secret() + " \n",
       "Error 1004: Invalid Password in Profile PRD.P00 found..."},
      {complete_profile() + "Password...: " + stored_secret().substr(1) + "\n",
       "Error 1004: Invalid Password in Profile PRD.P00 found..."},
      {complete_profile() + "Password...: " + stored_secret().replace(10, 1, "~") + "\n",
       "Error 1005: Wrong Password in Profile PRD.P00 found..."},
  };
  for (const Case& c : cases) {
    ProfileRecord record;
    const ProfileReadResult result = read_single(record, c.text);
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.error, c.error) << c.text;
  }
}

TEST(ReadProfile, PasswordFaultStopsTheSingleRunButNotTheGlobalOne) {
  const std::string text = "Password...: short\nDestination: LATE\n" + complete_profile();
  ProfileRecord single;
  EXPECT_TRUE(read_single(single, text).failed);
  EXPECT_EQ(single.destination, "");  // nothing after the fault was read

  ProfileRecord global;
  const ProfileReadResult result =
      read_profile(global, stream_of(text), RunKind::global_list, "PRD.P00");
  EXPECT_TRUE(result.failed);
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(global.destination, "PRD");
  EXPECT_EQ(global.password, "secret");  // a later good line still assigns
}

TEST(ReadProfile, GlobalRunMarksIncompleteProfiles) {
  ProfileRecord record;
  const ProfileReadResult result = read_profile(record, stream_of("Client.....: 1\n"),
                                                RunKind::global_list, "QAS.P00");
  EXPECT_TRUE(result.failed);
  EXPECT_TRUE(result.error.empty());
}

TEST(ReadProfile, LongLinesAreReadInPieces) {
  // 159 characters per piece in the single-system run: a 200-character line whose
  // character 160 starts a label assigns that field as well.
  std::string line = "Destination: PRD";
  line.resize(159, ' ');
  line += "Client.....: 300";
  line.resize(200, ' ');
  ProfileRecord single;
  ASSERT_FALSE(read_single(single, complete_profile() + line + "\n").failed);
  EXPECT_EQ(single.destination, "PRD" + std::string(57, ' '));  // columns 14 to 73
  EXPECT_EQ(single.client, "300" + std::string(25, ' '));

  // 199 per piece in the global-list run: the same line is one piece.
  ProfileRecord global;
  ASSERT_FALSE(read_profile(global, stream_of(complete_profile() + line + "\n"),
                            RunKind::global_list, "PRD.P00")
                   .failed);
  EXPECT_EQ(global.client, "100");
}

TEST(ReadProfile, OddFilesEndInTheirDocumentedResults) {
  // No final line feed: the last line still counts.
  std::string text = complete_profile();
  text.pop_back();
  ProfileRecord no_final_lf;
  EXPECT_FALSE(read_single(no_final_lf, text).failed);
  EXPECT_EQ(no_final_lf.gwservice, "sapgw00");

  // A carriage return alone does not end a line: the file is one long line in pieces.
  std::string cr_only = complete_profile();
  for (char& c : cr_only) {
    if (c == '\n') c = '\r';
  }
  ProfileRecord cr_record;
  EXPECT_EQ(read_single(cr_record, cr_only).error,
            "Error 1006: Username in Profile PRD.P00 is missing...");

  // A NUL ends the text of its piece, as it would in a C text.
  ProfileRecord nul_record;
  std::string with_nul = complete_profile() + "Sysnr......: 4";
  with_nul += '\0';
  with_nul += "2\n";
  EXPECT_TRUE(read_single(nul_record, with_nul).failed);
  EXPECT_EQ(nul_record.sysnr, "4");

  // Random bytes and one enormous line neither crash nor assign anything.
  std::mt19937 random(20261208);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random() & 0xFF);
  ProfileRecord noise_record;
  EXPECT_TRUE(read_single(noise_record, noise).failed);
  ProfileRecord huge_record;
  EXPECT_EQ(read_single(huge_record, std::string(100000, 'U') + "\n").error,
            "Error 1006: Username in Profile PRD.P00 is missing...");
}

TEST(ReadProfile, NotesTellLinesPasswordAndLinesMeantAsLabels) {
  std::string text = "# comment: not a label\n" + complete_profile();
  text += std::string(170, 'x') + "\n";    // one line, two pieces in the single-system run
  text += "HostName...: other\n";          // no label: letter case counts
  text += "  Passwd: Mon1tor\n";           // meant as a label; only its start is kept
  text += "Mon1tor\n";                     // no colon: nothing kept
  text += "Client.....: 200\n";            // a second occurrence counts
  ProfileRecord record;
  ProfileReadNotes notes;
  const ProfileReadResult result = read_profile(record, stream_of(text),
                                                RunKind::single_system, "PRD.P00", &notes);
  ASSERT_FALSE(result.failed) << result.error;
  const std::array<unsigned, kProfileLabelCount> lines = {2, 3, 17, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(notes.label_lines, lines);
  EXPECT_EQ(notes.password_fault, PasswordFault::none);
  EXPECT_EQ(notes.password_length, 6u);
  EXPECT_EQ(notes.stopped_at_line, 0u);
  ASSERT_EQ(notes.unrecognised.size(), 2u);
  EXPECT_EQ(notes.unrecognised[0].line, 14u);
  EXPECT_EQ(notes.unrecognised[0].label, "HostName...:");
  EXPECT_EQ(notes.unrecognised[1].line, 15u);
  EXPECT_EQ(notes.unrecognised[1].label, "  Passwd:");
  EXPECT_EQ(record.client, "200");
}

TEST(ReadProfile, NotesTellWhereAPasswordFaultStopsTheReading) {
  const std::string stored = stored_secret().replace(10, 1, "~");  // fails the check
  const std::string text = "Destination: PRD\nPassword...: " + stored + "\nUser.......: u\n";
  for (const RunKind kind : {RunKind::single_system, RunKind::global_list}) {
    ProfileRecord record;
    ProfileReadNotes notes;
    read_profile(record, stream_of(text), kind, "PRD.P00", &notes);
    EXPECT_EQ(notes.password_fault, PasswordFault::check);
    EXPECT_EQ(notes.password_length, 0u);
    // The single-system run stops there; the global-list run reads on.
    EXPECT_EQ(notes.stopped_at_line, kind == RunKind::single_system ? 2u : 0u);
    EXPECT_EQ(notes.label_lines[3], kind == RunKind::single_system ? 0u : 3u);
  }
}

}  // namespace
}  // namespace tw
