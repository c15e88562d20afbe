// libFuzzer target of the frame decoder: any bytes as a whole frame, and as the payload of
// every message type. Whatever decodes must encode again to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "wire.h"

namespace {

/*
 * Aborts unless `message` encodes again to exactly `payload`.
 */
void check_round_trip(const tw::wire::Message& message, std::string_view payload) {
  std::string frame;
  std::string error;
  if (!tw::wire::encode(message, frame, error)) std::abort();  // decoded, so within limits
  if (std::string_view(frame).substr(tw::wire::kHeaderSize) != payload) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tw::wire::Message message;
  std::string error;
  if (tw::wire::decode_frame(bytes, message, error))
    check_round_trip(message, bytes.substr(tw::wire::kHeaderSize));
  else if (error.empty())
    std::abort();  // every refusal says why
  if (size == 0) return 0;
  // The first byte picks a message type; the rest is its payload.
  const auto type = static_cast<tw::wire::Type>(
      data[0] % (static_cast<unsigned>(tw::wire::Type::kInterface) + 1));
  const std::string_view payload = bytes.substr(1);
  if (tw::wire::decode_payload(type, payload, message, error)) check_round_trip(message, payload);
  return 0;
}
