#include "job/converter_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tosilk {
namespace {

struct ClockCase {
  const char* text;
  long long ms;  // -1: not a clock
};

class ClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockTest, ReadsFfmpegsDurationsAndTimes) {
  const std::optional<long long> ms = ClockMilliseconds(GetParam().text);
  EXPECT_EQ(ms.value_or(-1), GetParam().ms) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ClockTest,
                         ::testing::Values(ClockCase{"00:00:05.47", 5470},
                                           ClockCase{"01:02:03.5", 3723500},
                                           ClockCase{"100:00:00.00", 360000000},
                                           ClockCase{"00:10:00", 600000}, ClockCase{"N/A", -1},
                                           ClockCase{"", -1}, ClockCase{"-00:00:00.02", -1},
                                           ClockCase{"12:34", -1}));

// What ffmpeg 5.1 writes while it converts a 10-second file, and where it
// stops when the disk is full.
TEST(ConverterLines, FollowsTheConversionByItsDurationAndTime) {
  ConverterLines lines("/music/tone.wav");
  EXPECT_EQ(lines.percent(), -1);
  lines.Take("Input #0, wav, from '/music/tone.wav':");
  lines.Take("Duration: 00:00:10.00, bitrate: 705 kB/s");
  EXPECT_EQ(lines.percent(), -1) << "no time said yet";
  lines.Take("size=     100kB time=00:00:02.50 bitrate= 299.0kbits/s speed= 814x");
  EXPECT_EQ(lines.percent(), 25);
  // The output's own duration, said later, is not the input's.
  lines.Take("Duration: 00:00:01.00, start: 0.000000");
  lines.Take("size=     200kB time=00:00:05.47 bitrate= 299.0kbits/s speed= 814x");
  EXPECT_EQ(lines.percent(), 54);
  lines.Take("size=     200kB time=00:00:12.00 bitrate= 299.0kbits/s speed= 814x");
  EXPECT_EQ(lines.percent(), 100);
  EXPECT_EQ(lines.cause(), JobFailure::kConverterFailed);
}

TEST(ConverterLines, KnowsNoProgressWithoutADuration) {
  ConverterLines lines("-");
  lines.Take("Duration: N/A, bitrate: N/A");
  lines.Take("size=     100kB time=00:00:02.50 bitrate= 299.0kbits/s");
  EXPECT_EQ(lines.percent(), -1);
}

struct CauseCase {
  const char* name;
  std::vector<std::string> lines;  // "SRC" stands for the source as given
  JobFailure cause;
  const char* cause_line;
};

class CauseTest : public ::testing::TestWithParam<CauseCase> {};

TEST_P(CauseTest, TellsTheCauseAndTheLineThatTellsIt) {
  const std::string source = "/home/用户/a b.mp3";
  ConverterLines lines(source);
  const auto placed = [&](std::string line) {
    if (const std::size_t at = line.find("SRC"); at != std::string::npos) line.replace(at, 3, source);
    return line;
  };
  for (const std::string& line : GetParam().lines) lines.Take(placed(line));
  EXPECT_EQ(lines.cause(), GetParam().cause);
  EXPECT_EQ(lines.cause_line(), placed(GetParam().cause_line));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CauseTest,
    ::testing::Values(
        CauseCase{"VideoOnlyOrPicture",
                  {"Output #0, s16le, to 'out.pcm':", "Output file #0 does not contain any stream"},
                  JobFailure::kNoAudioStream, "Output file #0 does not contain any stream"},
        CauseCase{"Text",
                  {"SRC: Invalid data found when processing input"},
                  JobFailure::kNotAudio, "SRC: Invalid data found when processing input"},
        CauseCase{"EmptyFile",
                  {"[mp3 @ 0x55a4935e28c0] Format mp3 detected only with low score of 1",
                   "SRC: Invalid argument"},
                  JobFailure::kNotAudio, "SRC: Invalid argument"},
        CauseCase{"UnreadableFile", {"SRC: Permission denied"}, JobFailure::kNoPermission,
                  "SRC: Permission denied"},
        CauseCase{"UnknownCodec", {"Decoder (codec aptx) not found for input stream #0:0"},
                  JobFailure::kUnsupportedAudio,
                  "Decoder (codec aptx) not found for input stream #0:0"},
        CauseCase{"DiskFull",
                  {"size=     200kB time=00:00:05.47 bitrate= 299.0kbits/s",
                   "Error closing file /tmp/small/out.pcm: No space left on device",
                   "Conversion failed!"},
                  JobFailure::kDiskFull,
                  "Error closing file /tmp/small/out.pcm: No space left on device"},
        CauseCase{"DiskFullAfterAnotherCause",
                  {"Decoder (codec aptx) not found for input stream #0:1",
                   "av_interleaved_write_frame(): No space left on device"},
                  JobFailure::kDiskFull, "av_interleaved_write_frame(): No space left on device"},
        // Another file's trouble, or a decoding error on the way, is no
        // cause that ffmpeg could not open the source.
        CauseCase{"OtherFilesLine", {"other.mp3: Invalid data found when processing input"},
                  JobFailure::kConverterFailed, ""},
        CauseCase{"Unknown", {"Conversion failed!"}, JobFailure::kConverterFailed, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncoderCause, ReadsTheEncodersLine) {
  EXPECT_EQ(EncoderCause("silk_v3_encoder: cannot write output \"a\": no space left on device"),
            JobFailure::kDiskFull);
  EXPECT_EQ(EncoderCause("silk_v3_encoder: input too long"), JobFailure::kInputTooLong);
  EXPECT_EQ(EncoderCause("silk_v3_encoder: input \"a\" is empty"), JobFailure::kEncoderFailed);
}

}  // namespace
}  // namespace tosilk
