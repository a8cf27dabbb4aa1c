// Fuzzes the debugger's protocol reader with any bytes, in pieces of any size: it never reads
// a message that is no JSON object, and every message it reads comes back the same when
// written and framed again.
#include <fuzzer/FuzzedDataProvider.h>

#include "tests/fuzz/FuzzCheck.h"
#include "zorbasic/DebugProtocol.h"

using zb::debug::Json;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t piece = input.ConsumeIntegralInRange<size_t>(1, 64);
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  zb::debug::FrameReader reader;
  for (size_t at = 0; at < bytes.size(); at += piece) {
    reader.Feed(std::string_view(bytes).substr(at, piece));
    Json m;
    std::string error;
    while (reader.Next(m, error)) {
      Require(m.Type() == Json::Kind::Object, "a message is an object");
      zb::debug::FrameReader again;
      again.Feed(zb::debug::Frame(m));
      Json back;
      Require(again.Next(back, error) && error.empty(), "a message framed again reads back");
      Require(back.Write() == m.Write(), "a message reads back the same");
    }
  }
  return 0;
}
