#include "tools/silk_codec/codec_tool.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/silk_codec/codec_file.h"
#include "tools/silk_codec/runtime/runtime.h"
#include "tools/silk_codec/silk_host.h"

namespace tosilk::codec {
namespace {

constexpr int32_t kSampleRate = 24000;
constexpr char kMagic[] = "#!SILK_V3";
constexpr size_t kMagicLength = sizeof kMagic - 1;
constexpr uint8_t kTencentByte = 0x02;
constexpr uint64_t kMiB = 1024 * 1024;

// A failure of a tool: its message and exit code.
struct Failure {
  std::string message;
  int code = 1;
};

bool StartsWithMagic(const uint8_t* data, size_t size) {
  return size >= kMagicLength && std::memcmp(data, kMagic, kMagicLength) == 0;
}

// Checks the words after the program name: `paths` paths first, then at
// most the options in `options`. A word starting with '-' where a path
// belongs is almost certainly a misplaced option; taking it as a file name
// would silently write a file called "-tencent" (./-tencent names one).
bool ParseWords(const std::vector<std::string>& words, size_t paths,
                const std::vector<std::string>& options, const std::string& usage,
                std::vector<std::string>* given_paths, std::string* given_option,
                Failure* failure) {
  if (words.size() < paths || words.size() > paths + (options.empty() ? 0 : 1)) {
    failure->message = (options.empty() ? "expected two paths; " :
                        "expected two paths and an optional " + options[0] + "; ") + usage;
    failure->code = 2;
    return false;
  }
  for (size_t i = 0; i < paths; ++i) {
    const std::string& path = words[i];
    if (!path.empty() && path[0] == '-') {
      failure->message = "option " + Quote(path) + " given where a path was expected; " + usage;
      failure->code = 2;
      return false;
    }
    if (path.empty()) {
      failure->message = "empty path; " + usage;
      failure->code = 2;
      return false;
    }
    given_paths->push_back(path);
  }
  if (words.size() > paths) {
    const std::string& option = words[paths];
    bool known = false;
    for (const std::string& candidate : options) known = known || option == candidate;
    if (!known) {
      failure->message = "unknown option " + Quote(option) + "; " + usage;
      failure->code = 2;
      return false;
    }
    *given_option = option;
  }
  return true;
}

void ApplyMemoryLimit() {
  // Only the tests set it, to make the codec run out of memory on purpose.
  const char* mib = std::getenv("SILK_CODEC_MAX_MEMORY_MIB");
  if (mib != nullptr && *mib != '\0') {
    SetMemoryLimit(std::strtoull(mib, nullptr, 10) * kMiB);
  }
}

std::string TooLong(const SilkOutcome& outcome, const char* doing) {
  return std::string("input too long: ") + doing + " it needs more memory than the " +
         std::to_string(outcome.memory_limit / kMiB) + " MiB this tool can use";
}

// Whether `input`, opened from `path`, could be read and holds something;
// else `failure` says which.
bool Readable(const InputFile& input, const std::string& path, Failure* failure) {
  if (!input.ok()) {
    failure->message = "cannot read input " + Quote(path) + ": " + input.error();
    return false;
  }
  if (input.size() == 0) {
    failure->message = "input " + Quote(path) + " is empty";
    return false;
  }
  return true;
}

bool Encode(const std::vector<std::string>& words, Failure* failure) {
  const std::string usage = "usage: silk_v3_encoder IN.pcm OUT.silk [-tencent]";
  std::vector<std::string> paths;
  std::string option;
  if (!ParseWords(words, 2, {"-tencent"}, usage, &paths, &option, failure)) return false;
  const std::string& input_path = paths[0];
  const std::string& output_path = paths[1];

  InputFile input(input_path);
  if (!Readable(input, input_path, failure)) return false;
  // silk-wasm quietly drops a trailing odd byte, which would hide a
  // truncated or wrongly converted file, so an odd length is refused.
  if (input.size() % 2 != 0) {
    failure->message = "input " + Quote(input_path) + " has " + std::to_string(input.size()) +
                       " bytes, not a whole number of 16-bit samples";
    return false;
  }
  if (input.size() > SIZE_MAX) {
    failure->message = "input too long: " + Quote(input_path) + " is larger than memory";
    return false;
  }

  std::string read_error;
  SilkOutcome outcome = RunSilk(
      SilkCall::kEncode, static_cast<size_t>(input.size()),
      [&](uint8_t* destination, size_t size) {
        read_error = input.Read(destination, size);
        return read_error;
      },
      kSampleRate);
  if (!read_error.empty()) {
    failure->message = "cannot read input " + Quote(input_path) + ": " + read_error;
    return false;
  }
  if (!outcome.ok) {
    failure->message = outcome.out_of_memory ? TooLong(outcome, "encoding")
                                             : "encoding failed: " + outcome.error;
    return false;
  }

  // silk-wasm writes the form with the 0x02 byte. The byte is checked
  // rather than assumed, so that a codec changing its output fails loudly
  // instead of producing a subtly wrong file.
  const std::vector<uint8_t>& silk = outcome.data;
  const bool has_byte = !silk.empty() && silk[0] == kTencentByte;
  const uint8_t* body = silk.data() + (has_byte ? 1 : 0);
  const size_t body_size = silk.size() - (has_byte ? 1 : 0);
  if (!StartsWithMagic(body, body_size)) {
    failure->message = "encoder output does not start with #!SILK_V3";
    return false;
  }
  std::vector<uint8_t> file;
  if (option == "-tencent") file.push_back(kTencentByte);
  file.insert(file.end(), body, body + body_size);
  if (const auto why = WriteFileAtomically(output_path, file.data(), file.size())) {
    failure->message = "cannot write output " + Quote(output_path) + ": " + *why;
    return false;
  }
  return true;
}

bool Decode(const std::vector<std::string>& words, Failure* failure) {
  const std::string usage = "usage: silk_v3_decoder IN.silk OUT.pcm";
  std::vector<std::string> paths;
  std::string option;
  if (!ParseWords(words, 2, {}, usage, &paths, &option, failure)) return false;
  const std::string& input_path = paths[0];
  const std::string& output_path = paths[1];

  InputFile input(input_path);
  if (!Readable(input, input_path, failure)) return false;
  if (input.size() >= SIZE_MAX) {
    failure->message = "input too long: " + Quote(input_path) + " is larger than memory";
    return false;
  }

  // silk_decode wants the 0x02 byte before the magic; a file without it
  // gets it put back.
  uint8_t head[1 + kMagicLength] = {};
  const size_t head_size = input.size() < sizeof head ? static_cast<size_t>(input.size())
                                                      : sizeof head;
  if (std::string error = input.Read(head, head_size); !error.empty()) {
    failure->message = "cannot read input " + Quote(input_path) + ": " + error;
    return false;
  }
  const bool has_byte = head_size > 0 && head[0] == kTencentByte &&
                        StartsWithMagic(head + 1, head_size - 1);
  if (!has_byte && !StartsWithMagic(head, head_size)) {
    failure->message = "input " + Quote(input_path) + " is not a SILK v3 file";
    return false;
  }
  const size_t total = static_cast<size_t>(input.size()) + (has_byte ? 0 : 1);

  std::string read_error;
  SilkOutcome outcome = RunSilk(
      SilkCall::kDecode, total,
      [&](uint8_t* destination, size_t) {
        if (!has_byte) *destination++ = kTencentByte;
        std::memcpy(destination, head, head_size);
        read_error = input.Read(destination + head_size,
                                static_cast<size_t>(input.size()) - head_size);
        return read_error;
      },
      kSampleRate);
  if (!read_error.empty()) {
    failure->message = "cannot read input " + Quote(input_path) + ": " + read_error;
    return false;
  }
  if (!outcome.ok) {
    failure->message = outcome.out_of_memory ? TooLong(outcome, "decoding")
                                             : "decoding failed: " + outcome.error;
    return false;
  }
  if (const auto why =
          WriteFileAtomically(output_path, outcome.data.data(), outcome.data.size())) {
    failure->message = "cannot write output " + Quote(output_path) + ": " + *why;
    return false;
  }
  return true;
}

}  // namespace

std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\b': quoted += "\\b"; break;
      case '\f': quoted += "\\f"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (byte < 0x20) {
          char escaped[7];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          quoted += escaped;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

int RunTool(const std::string& tool, const std::vector<std::string>& argv) {
  InstallTerminationCleanup();
  ApplyMemoryLimit();
  const std::vector<std::string> words(argv.empty() ? argv.end() : argv.begin() + 1, argv.end());
  Failure failure;
  const bool ok = tool == "silk_v3_decoder" ? Decode(words, &failure) : Encode(words, &failure);
  if (ok) return 0;
  // One line, whatever the reason held.
  std::string line = tool + ": " + failure.message;
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return failure.code;
}

}  // namespace tosilk::codec
