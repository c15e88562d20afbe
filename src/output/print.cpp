#include "output/print.h"

#include "os/output_lock.h"

namespace tw {

void print(Output& out, std::string_view text) {
  const OutputLock hold;
  print_holding_lock(out, text);
}

void print_holding_lock(Output& out, std::string_view text) {
  if (out.capture != nullptr) {
    out.capture->append(text);
    return;
  }
  std::fwrite(text.data(), 1, text.size(), out.stream);
  std::fflush(out.stream);
}

}  // namespace tw
