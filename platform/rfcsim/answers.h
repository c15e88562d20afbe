// What the simulated system answers to the two function modules it knows.
#pragma once

#include <optional>
#include <string>

#include "scenario.h"
#include "wire.h"

namespace tw::rfcsim {

inline constexpr std::size_t kRfcsiLength = 245;

/*
 * The RFCSI record of a system as current systems have it: 245 characters, every field
 * blank-padded or cut at its offset (RFCPROTO 0/3, RFCCHARTYP 3/4, RFCINTTYP 7/3,
 * RFCFLOTYP 10/3, RFCDEST 13/32, RFCHOST 45/8, RFCSYSID 53/8, RFCDATABS 61/8,
 * RFCDBHOST 69/32, RFCDBSYS 101/10, RFCSAPRL 111/4, RFCMACH 115/5, RFCOPSYS 120/10,
 * RFCTZONE 130/6, RFCDAYST 136/1, RFCIPADDR 137/15, RFCKERNRL 152/4, RFCHOST2 156/32,
 * RFCSI_RESV 188/12, RFCIPV6ADDR 200/45). A caller of an older layout reads the first 200
 * characters, where RFCHOST2 and RFCSI_RESV (blank) make its RFCSI_RESV of 44.
 */
std::string rfcsi_record(const System& system);

/*
 * The reply to RFC_SYSTEM_INFO: RFCSI_EXPORT, CURRENT_RESOURCES, MAXIMAL_RESOURCES,
 * RECOMMENDED_DELAY, DIALOG_USER_TYPE and RFC_LOGIN_COMPLETE.
 */
wire::Reply system_info_reply(const System& system);

/*
 * The reply to ADA_LOG_STATISTICS: the tables SHOWMONILOG and SHOWSTATLOG.
 */
wire::Reply log_statistics_reply(const System& system);

/*
 * The interface of a function the system has: RFC_SYSTEM_INFO (the parameters of its
 * reply, RFCSI_EXPORT as the structure RFCSI) or ADA_LOG_STATISTICS (the tables
 * SHOWMONILOG and SHOWSTATLOG of rows ADA_SHOW: R1, 40 characters, and R2, 26). None for
 * any other name.
 */
std::optional<wire::Interface> function_interface(const std::string& function);

}  // namespace tw::rfcsim
