// The scenario the tests of both libraries run against the simulated SAP side: a healthy
// system PRD (client 100, user Monitor, password Secret1) and a system for every fault of a
// call (ashost f-KIND) and of the logon (ashost l-KIND).
#pragma once

namespace tw::rfcsim {

inline const char* const kFaultScenario = R"(
[system PRD]
ashost = sapprd
sysnr = 00
client = 100
user = Monitor
password = Secret1
row = Log queue overflows | 0
row = Log queue pages | 400
statrow = Used log (%) | 7

[system FAILURE]
ashost = f-failure
sysnr = 00
fault = RFC_SYSTEM_INFO failure system info failed badly
[system EXCEPTION]
ashost = f-exception
sysnr = 00
fault = ADA_LOG_STATISTICS exception NO_DATA no statistics today
[system SYSEXC]
ashost = f-sysexc
sysnr = 00
fault = RFC_SYSTEM_INFO sys_exception
[system CODE]
ashost = f-code
sysnr = 00
fault = RFC_SYSTEM_INFO code 7
[system DROP]
ashost = f-drop
sysnr = 00
fault = RFC_SYSTEM_INFO drop
[system HANG]
ashost = f-hang
sysnr = 00
fault = ADA_LOG_STATISTICS hang
[system ABORT]
ashost = f-abort
sysnr = 00
fault = RFC_SYSTEM_INFO abort ABAP/4 processor: SYSTEM_CORE_DUMPED
[system GARBAGE]
ashost = f-garbage
sysnr = 00
fault = RFC_SYSTEM_INFO garbage
[system LHANG]
ashost = l-hang
sysnr = 00
fault = logon hang
[system LDROP]
ashost = l-drop
sysnr = 00
fault = logon drop
[system LREJECT]
ashost = l-reject
sysnr = 00
fault = logon reject user account locked
[system LFAIL]
ashost = l-failure
sysnr = 00
fault = logon failure logon failed
)";

}  // namespace tw::rfcsim
