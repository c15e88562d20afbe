#include "rfc/rfc.h"

namespace tw {

std::string rfc_failure_text(int rc, const char* exception) {
  switch (rc) {
    case RFC_FAILURE: return "Error 1014: RFC-Failure raised !";
    case RFC_EXCEPTION:
      return std::string("Error 1012: Exception.: ") + (exception != nullptr ? exception : "");
    case RFC_SYS_EXCEPTION: return "Error 1013: Sys-Exception raised !";
    default: return "Error 1015: Other Failure raised !";
  }
}

}  // namespace tw
