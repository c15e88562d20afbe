// The operations of the NetWeaver stand-in that need no partner: names, conversions, the
// checks of handles and logon parameters.
#include <gtest/gtest.h>

#include <cstring>

#include "nw_test_support.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {
namespace {

using testing::Logon;
using testing::utf8;

TEST(NwOffline, VersionAndNames) {
  unsigned major = 1, minor = 1, patch = 1;
  EXPECT_EQ(utf8(RfcGetVersion(&major, &minor, &patch)), "750 Patch Level 0");
  EXPECT_EQ(major, 7500u);
  EXPECT_EQ(minor, 0u);
  EXPECT_EQ(patch, 0u);
  EXPECT_NE(RfcGetVersion(nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(utf8(RfcGetRcAsString(RFC_OK)), "RFC_OK");
  EXPECT_EQ(utf8(RfcGetRcAsString(RFC_TABLE_MOVE_EOF)), "RFC_TABLE_MOVE_EOF");
  EXPECT_EQ(utf8(RfcGetRcAsString(RFC_LOCKING_FAILURE)), "RFC_LOCKING_FAILURE");
  EXPECT_EQ(utf8(RfcGetRcAsString(_RFC_RC_max_value)), "");
  EXPECT_EQ(utf8(RfcGetRcAsString(static_cast<RFC_RC>(-1))), "");
  EXPECT_EQ(utf8(RfcGetTypeAsString(RFCTYPE_STRUCTURE)), "RFCTYPE_STRUCTURE");
  EXPECT_EQ(utf8(RfcGetTypeAsString(RFCTYPE_INT8)), "RFCTYPE_INT8");
  EXPECT_EQ(utf8(RfcGetTypeAsString(static_cast<RFCTYPE>(11))), "");
  EXPECT_EQ(utf8(RfcGetDirectionAsString(RFC_TABLES)), "RFC_TABLES");
  EXPECT_EQ(utf8(RfcGetDirectionAsString(static_cast<RFC_DIRECTION>(4))), "");
}

TEST(NwOffline, Utf8ConversionsTellTheSizeTheyNeed) {
  const SAP_UC text[] = u"Gr\u00F6\u00DFe";  // 5 units, 7 bytes in UTF-8
  RFC_BYTE out[8];
  unsigned size = 7, length = 99;
  RFC_ERROR_INFO info;
  EXPECT_EQ(RfcSAPUCToUTF8(text, 5, out, &size, &length, &info), RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(info.code, RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(size, 8u);  // the zero included
  EXPECT_EQ(length, 99u);
  EXPECT_EQ(RfcSAPUCToUTF8(text, 5, out, &size, &length, &info), RFC_OK);
  EXPECT_EQ(length, 7u);
  EXPECT_STREQ(reinterpret_cast<char*>(out), "Gr\xC3\xB6\xC3\x9F" "e");

  SAP_UC back[6];
  unsigned units = 5;
  EXPECT_EQ(RfcUTF8ToSAPUC(out, 7, back, &units, &length, &info), RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(units, 6u);
  EXPECT_EQ(RfcUTF8ToSAPUC(out, 7, back, &units, &length, &info), RFC_OK);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(std::u16string(back), text);
  EXPECT_EQ(RfcUTF8ToSAPUC(reinterpret_cast<const RFC_BYTE*>("\xFF"), 1, back, &units, &length,
                           &info),
            RFC_CODEPAGE_CONVERSION_FAILURE);
  EXPECT_EQ(RfcUTF8ToSAPUC(nullptr, 3, back, &units, &length, &info), RFC_INVALID_PARAMETER);
  EXPECT_EQ(RfcSAPUCToUTF8(text, 5, out, nullptr, &length, nullptr), RFC_INVALID_PARAMETER);
  units = 1;  // the empty text needs just the zero
  EXPECT_EQ(RfcUTF8ToSAPUC(out, 0, back, &units, &length, &info), RFC_OK);
  EXPECT_EQ(back[0], u'\0');
}

TEST(NwOffline, EveryOperationRefusesHandlesItDoesNotKnow) {
  RFC_ERROR_INFO info;
  const auto connection = reinterpret_cast<RFC_CONNECTION_HANDLE>(std::uintptr_t{0x7777777});
  const auto container = reinterpret_cast<DATA_CONTAINER_HANDLE>(std::uintptr_t{0x7777777});
  const auto function = reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(std::uintptr_t{0x7777777});
  const auto type = reinterpret_cast<RFC_TYPE_DESC_HANDLE>(std::uintptr_t{0x7777777});
  unsigned count = 0;
  RFC_CHAR chars[4];
  RFC_PARAMETER_DESC parameter;
  RFC_FIELD_DESC field;
  EXPECT_EQ(RfcCloseConnection(nullptr, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(info.group, EXTERNAL_RUNTIME_FAILURE);
  EXPECT_EQ(utf8(info.key), "RFC_INVALID_HANDLE");
  EXPECT_EQ(RfcCloseConnection(connection, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcInvoke(connection, container, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetFunctionDesc(connection, u"RFC_SYSTEM_INFO", &info), nullptr);
  EXPECT_EQ(info.code, RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcCreateFunction(function, &info), nullptr);
  EXPECT_EQ(info.code, RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetParameterCount(function, &count, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetParameterDescByIndex(nullptr, 0, &parameter, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetFieldCount(type, &count, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetFieldDescByName(type, u"R1", &field, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetChars(container, u"R1", chars, 4, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetRowCount(container, &count, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcMoveToNextRow(nullptr, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetCurrentRow(container, &info), nullptr);
  EXPECT_EQ(RfcDestroyFunction(container, &info), RFC_INVALID_HANDLE);
  int valid = 7;
  EXPECT_EQ(RfcIsConnectionHandleValid(connection, &valid, &info), RFC_INVALID_HANDLE);
  EXPECT_EQ(valid, 0);
  // A NULL error record is allowed.
  EXPECT_EQ(RfcInvoke(connection, container, nullptr), RFC_INVALID_HANDLE);
}

TEST(NwOffline, LogonParametersThatNameNoSystemFailTheOpen) {
  RFC_ERROR_INFO info;
  EXPECT_EQ(RfcOpenConnection(nullptr, 0, &info), nullptr);
  EXPECT_EQ(info.code, RFC_INVALID_PARAMETER);
  EXPECT_EQ(utf8(info.message),
            "Invalid parameter 'unsigned paramCount' was passed to the API call");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"no server", "Parameter ASHOST, GWHOST, MSHOST or PORT is missing."},
      {"no sysnr", "Parameter SYSNR is missing."},
      {"bad sysnr", "Invalid value '1x' of parameter SYSNR: two digits expected"},
      {"long sysnr", "Invalid value '100' of parameter SYSNR: two digits expected"},
      {"mshost", "Parameter mshost is not supported by this library: only ASHOST and SYSNR "
                 "name a system"},
  };
  const Logon no_server{{u"USER", u"MONITOR"}, {u"SYSNR", u"00"}};
  const Logon no_sysnr{{u"ashost", u"sapprd"}};
  const Logon bad_sysnr{{u"ASHOST", u"sapprd"}, {u"SYSNR", u"1x"}};
  const Logon long_sysnr{{u"ASHOST", u"sapprd"}, {u"SYSNR", u"100"}};
  const Logon mshost{{u"mshost", u"sapms"}, {u"SYSNR", u"00"}};
  const Logon* logons[] = {&no_server, &no_sysnr, &bad_sysnr, &long_sysnr, &mshost};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::memset(&info, 0x55, sizeof info);
    EXPECT_EQ(logons[i]->open(info), nullptr) << cases[i].first;
    EXPECT_EQ(info.code, RFC_INVALID_PARAMETER) << cases[i].first;
    EXPECT_EQ(info.group, EXTERNAL_RUNTIME_FAILURE) << cases[i].first;
    EXPECT_EQ(utf8(info.key), "RFC_INVALID_PARAMETER");
    EXPECT_EQ(utf8(info.message), cases[i].second);
    EXPECT_EQ(info.abapMsgClass[0], u'\0');  // every other field cleared
  }
}

}  // namespace
}  // namespace tw::nwrfclib
