// Runs the SILK codec exactly as silk-wasm ships it: silk.wasm, translated to
// C by wasm2c, with our host in place of silk-wasm's JavaScript glue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tosilk::codec {

enum class SilkCall { kEncode, kDecode };

struct SilkOutcome {
  bool ok = false;
  // Why it failed, in English, for one line on stderr.
  std::string error;
  // The failure came from the memory limit: the module wanted more memory
  // than it was allowed (see SetMemoryLimit in runtime/runtime.h).
  bool out_of_memory = false;
  // The most memory the module was allowed, in bytes, for the message.
  uint64_t memory_limit = 0;
  // What silk_encode or silk_decode handed to its callback last.
  std::vector<uint8_t> data;
};

// Writes exactly `size` bytes of input to `destination`. Returns an empty
// string on success, else the reason it could not.
using InputWriter = std::function<std::string(uint8_t* destination, size_t size)>;

// Calls silk-wasm's silk_encode (raw s16le PCM in, SILK with the 0x02 byte
// out) or silk_decode (SILK with the 0x02 byte in, s16le PCM out) at
// `sample_rate` on an input of `input_size` bytes, which `write_input` puts
// straight into the module's memory. Each call has a fresh instance of the
// module, as silk-wasm's encode and decode have. A trap, abort, C++ throw or
// exit inside the module becomes a failure, as does a result of 0 from the
// codec, which is how it reports bad input.
SilkOutcome RunSilk(SilkCall call, size_t input_size, const InputWriter& write_input,
                    int32_t sample_rate);

}  // namespace tosilk::codec
