// The files the RFC library reads and writes in the working directory, named as the
// platform's library names them: SAP's Linux library uses lower case, its Windows library
// mixed case. The sensor and the library stand-ins take the names from here.
#pragma once

namespace tw {

#ifdef _WIN32
/// The library's parameter file, with the destinations.
inline constexpr char kRfcParameterFile[] = "SapRfc.ini";
/// The library's error trace.
inline constexpr char kRfcTraceFile[] = "Dev_Rfc.Trc";
#else
/// The library's parameter file, with the destinations.
inline constexpr char kRfcParameterFile[] = "saprfc.ini";
/// The library's error trace.
inline constexpr char kRfcTraceFile[] = "dev_rfc.trc";
#endif

}  // namespace tw
