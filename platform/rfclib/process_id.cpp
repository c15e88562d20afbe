// The id of the running process, for the lines of the trace file.
#include "net.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tw::rfclib::net {

#ifdef _WIN32
unsigned long process_id() { return static_cast<unsigned long>(::_getpid()); }
#else
unsigned long process_id() { return static_cast<unsigned long>(::getpid()); }
#endif

}  // namespace tw::rfclib::net
