// Argument vectors that a command line must carry unchanged, shared by the
// tests that split command lines with the documented rules and with Windows'
// own CommandLineToArgvW.
#pragma once

#include <string>
#include <vector>

namespace tosilk {

struct CommandLineCase {
  const char* name;
  std::vector<std::string> words;
  // The exact command line expected, where it matters; null otherwise.
  const char* line;
};

inline std::vector<CommandLineCase> CommandLineCases() {
  const std::string ffmpeg = "D:\\voice\\ffmpeg.exe";
  const std::string pcm = "D:\\voice\\result\\2024年12月7日12时31分54秒10041.pcm";
  return {
      // With no blank or quote anywhere, the words stand as they are.
      {"ConverterWithoutBlanks",
       {ffmpeg, "-y", "-i", "D:\\music\\a.mp3", "-f", "s16le", "-ar", "24000", "-ac", "1", pcm},
       "D:\\voice\\ffmpeg.exe -y -i D:\\music\\a.mp3 -f s16le -ar 24000 -ac 1 "
       "D:\\voice\\result\\2024年12月7日12时31分54秒10041.pcm"},
      {"EncoderWithoutBlanks",
       {"D:\\voice\\silk_v3_encoder.exe", pcm, "D:\\voice\\result\\x.silk", "-tencent"},
       "D:\\voice\\silk_v3_encoder.exe D:\\voice\\result\\2024年12月7日12时31分54秒10041.pcm "
       "D:\\voice\\result\\x.silk -tencent"},
      {"ProgramWithBlanks",
       {"C:\\Program Files\\tosilk\\ffmpeg.exe", "-y"},
       "\"C:\\Program Files\\tosilk\\ffmpeg.exe\" -y"},
      {"EmptyWords", {ffmpeg, "", "-i", ""}, "D:\\voice\\ffmpeg.exe \"\" -i \"\""},
      {"BlanksAndTabs", {ffmpeg, "a b", "tab\there", " lead", "trail "}, nullptr},
      {"Quotes", {ffmpeg, "say \"hi\"", "\"", "a\"b", "\"\""}, "D:\\voice\\ffmpeg.exe "
       "\"say \\\"hi\\\"\" \\\" a\\\"b \\\"\\\""},
      {"BackslashesBeforeQuotes", {ffmpeg, "a\\\"b", "a\\\\\"b c", "\\\\\\\""}, nullptr},
      {"BackslashesAtTheEnd",
       {ffmpeg, "C:\\a b\\", "C:\\ab\\", "x\\\\", "\\", "a b\\\\\\"},
       "D:\\voice\\ffmpeg.exe \"C:\\a b\\\\\" C:\\ab\\ x\\\\ \\ \"a b\\\\\\\\\\\\\""},
      {"UncPath", {ffmpeg, "\\\\server\\share\\a b.mp3"}, nullptr},
      {"ShellCharacters", {ffmpeg, "&", "^", "%PATH%", "a&b^c|d<e>f", "(x) !y!"}, nullptr},
      {"ChineseAndEmoji",
       {"D:\\语音 工具\\ffmpeg.exe", "D:\\音乐\\歌 曲.mp3", "😀 表情.ogg"},
       "\"D:\\语音 工具\\ffmpeg.exe\" \"D:\\音乐\\歌 曲.mp3\" \"😀 表情.ogg\""},
  };
}

}  // namespace tosilk
