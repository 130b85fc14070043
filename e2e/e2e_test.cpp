// End to end: the encoding job with Debian's ffmpeg and our native
// silk_v3_encoder, run from a program folder laid out by `cmake --install`, on real
// recordings. The folder's own path holds blanks and CJK, as a user's may.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/process.h"
#include "job/encode_job.h"
#include "texts/texts.h"
#include "testing/fs_util.h"
#include "testing/run_captured.h"

namespace tosilk {
namespace {

namespace fs = std::filesystem;
using testing::PathText;
using testing::EntryNames;
using testing::ReadAll;
using testing::TempFolder;
using testing::Utf8Path;
using testing::WriteAll;

// Runs a program and says how it went, for the assertion that checks it.
::testing::AssertionResult Ran(const std::vector<std::string>& words) {
  const ProcessOutcome run = RunProgram(words.front(), words);
  if (run.started && run.exit.succeeded()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << words.front() << ": " << run.start_error.text << " exit "
                                       << run.exit.code << ": " << run.last_error_line;
}

// Installs the build into a fresh folder named with `label`.
class InstalledFolder {
 public:
  explicit InstalledFolder(std::string_view label) : folder_(label) {
    installed_ = Ran({TOSILK_CMAKE, "--install", TOSILK_BUILD_DIR, "--prefix", folder_.text()});
  }
  ::testing::AssertionResult installed() const { return installed_; }
  const fs::path& path() const { return folder_.path(); }
  std::string text() const { return folder_.text(); }
  fs::path result() const { return path() / "result"; }

 private:
  TempFolder folder_;
  ::testing::AssertionResult installed_ = ::testing::AssertionFailure();
};

struct InstallCase {
  const char* name;
  const char* folder;
  // The folder's name as the Exec line must spell it.
  const char* escaped;
};

class InstallTest : public ::testing::TestWithParam<InstallCase> {};

TEST_P(InstallTest, LaysOutAFolderTheJobAndTheDesktopCanUse) {
  const InstalledFolder program(GetParam().folder);
  ASSERT_TRUE(program.installed());
  const fs::path& dir = program.path();

  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "tosilk")));
  EXPECT_NE(fs::status(dir / "tosilk").permissions() & fs::perms::owner_exec, fs::perms::none);
  ASSERT_TRUE(fs::is_symlink(dir / "ffmpeg"));
  EXPECT_EQ(fs::read_symlink(dir / "ffmpeg"), fs::path(TOSILK_FFMPEG));
  // Our own encoder and decoder, which need nothing else, and their
  // licences.
  for (const char* tool : {"silk_v3_encoder", "silk_v3_decoder"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / tool))) << tool;
    EXPECT_NE(fs::status(dir / tool).permissions() & fs::perms::owner_exec, fs::perms::none);
  }
  for (const char* license : {"silk-wasm-LICENSE.txt", "tosilk-LICENSE.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(dir / "licenses" / license)) << license;
  }
  EXPECT_TRUE(fs::is_directory(program.result()));
  EXPECT_TRUE(EntryNames(program.result()).empty());
  for (const char* size : {"48x48", "256x256"}) {
    EXPECT_TRUE(fs::is_regular_file(dir / "share/icons/hicolor" / size / "apps/tosilk.png")) << size;
  }

  const fs::path entry = dir / "share/applications/tosilk.desktop";
  ASSERT_TRUE(Ran({TOSILK_DESKTOP_VALIDATE, PathText(entry)}));
  const std::string text = ReadAll(entry);
  // Only the test's label in the folder's path needs escaping.
  std::string exec = program.text();
  exec.replace(exec.rfind(GetParam().folder), std::string_view(GetParam().folder).size(),
               GetParam().escaped);
  exec = "\"" + exec + "/tosilk\" %f";
  for (const std::string& line :
       {std::string("Name=tosilk"), std::string("Name[zh_CN]=SILK 语音编码器"), "Exec=" + exec,
        "Icon=" + program.text() + "/share/icons/hicolor/256x256/apps/tosilk.png"}) {
    EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line << " in\n" << text;
  }
  // The file managers' "Open with" lists it for audio files.
  EXPECT_NE(text.find("\nMimeType=audio/mpeg;"), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, InstallTest,
    ::testing::Values(InstallCase{"BlanksAndCjk", "程序 文件夹", "程序 文件夹"},
                      // Escaped once for Exec's quotes, then each backslash
                      // doubled for the string; "%" doubled as no field code.
                      // (A backslash cannot be tried: cmake --install takes
                      // no prefix holding one.)
                      InstallCase{"ShellCharacters", "say \"hi\" $HOME `x` 100%",
                                  R"(say \\"hi\\" \\$HOME \\`x\\` 100%%)"}),
    [](const auto& info) { return std::string(info.param.name); });

// The program folder for the jobs below, installed once.
InstalledFolder* g_program = nullptr;

class ProgramEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    program_ = std::make_unique<InstalledFolder>("tosilk 程序");
    ASSERT_TRUE(program_->installed());
    g_program = program_.get();
  }
  void TearDown() override {
    g_program = nullptr;
    program_.reset();
  }

 private:
  std::unique_ptr<InstalledFolder> program_;
};

[[maybe_unused]] ::testing::Environment* const kProgram =
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

JobOutcome RunJob(const std::string& source) {
  JobSetting setting;
  setting.program_directory = g_program->text();
  return RunEncodingJob(source, setting);
}

// Makes a recording with ffmpeg from its generator of test signals.
::testing::AssertionResult Generate(const fs::path& out, const std::string& signal,
                                    const std::vector<std::string>& codec = {}) {
  std::vector<std::string> words = {TOSILK_FFMPEG, "-v", "error", "-y", "-f", "lavfi", "-i", signal};
  words.insert(words.end(), codec.begin(), codec.end());
  words.push_back(PathText(out));
  return Ran(words);
}

// The length in milliseconds of a PCM WAV file, from its header.
long long WavMilliseconds(const fs::path& wav) {
  const std::string data = ReadAll(wav);
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(data[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(data[at + 3])) << 24;
  };
  std::uint32_t byte_rate = 0;
  for (std::size_t at = 12; at + 8 <= data.size(); at += 8 + ((u32(at + 4) + 1) & ~1u)) {
    const std::string id = data.substr(at, 4);
    if (id == "fmt ") byte_rate = u32(at + 16);
    if (id == "data" && byte_rate != 0) return 1000LL * u32(at + 4) / byte_rate;
  }
  return -1;
}

// Each job gets a folder for its sources, and leaves the result folder as
// empty as it found it.
class JobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(g_program, nullptr);
    ASSERT_TRUE(EntryNames(g_program->result()).empty());
  }
  void TearDown() override {
    for (const std::string& name : EntryNames(g_program->result())) {
      fs::remove(g_program->result() / Utf8Path(name));
    }
  }

  TempFolder sources_{"音频 源"};
};

struct RecordingCase {
  const char* name;
  // Where the source lies inside the sources folder.
  const char* file;
  // How the source is made there; the sample is copied when this is null.
  const char* signal;
  std::vector<std::string> codec;
  // The source's length; the sample's is read from its header.
  long long milliseconds;
};

class RecordingTest : public JobTest, public ::testing::WithParamInterface<RecordingCase> {};

TEST_P(RecordingTest, BecomesASilkFileOfTheSameLength) {
  const RecordingCase& c = GetParam();
  const fs::path source = sources_.path() / Utf8Path(c.file);
  fs::create_directories(source.parent_path());
  long long source_ms = c.milliseconds;
  if (c.signal == nullptr) {
    fs::copy_file(TOSILK_SAMPLE, source);
    source_ms = WavMilliseconds(source);
    ASSERT_GT(source_ms, 1000) << "the sample should be a few seconds of speech";
  } else {
    ASSERT_TRUE(Generate(source, c.signal, c.codec));
  }

  const JobOutcome outcome = RunJob(PathText(source));
  ASSERT_TRUE(outcome.ok()) << texts::FailureReason(outcome);

  // The .silk is all that is left: its .pcm is gone.
  const fs::path output = Utf8Path(outcome.output_path);
  EXPECT_EQ(output.parent_path(), g_program->result());
  EXPECT_EQ(output.extension(), ".silk");
  EXPECT_EQ(EntryNames(g_program->result()), std::vector<std::string>{PathText(output.filename())});
  EXPECT_TRUE(ReadAll(output).starts_with("\x02#!SILK_V3"));

  const fs::path decoded = sources_.path() / "decoded.pcm";
  ASSERT_TRUE(Ran({PathText(g_program->path() / "silk_v3_decoder"), outcome.output_path,
                   PathText(decoded)}));
  const long long decoded_ms = static_cast<long long>(fs::file_size(decoded)) * 1000 / (2 * 24000);
  EXPECT_LE(std::llabs(decoded_ms - source_ms), 100)
      << "decoded " << decoded_ms << " ms from " << source_ms << " ms";
}

const char* const kTone = "sine=frequency=440:sample_rate=44100:duration=3";

INSTANTIATE_TEST_SUITE_P(
    Recordings, RecordingTest,
    ::testing::Values(
        RecordingCase{"SpokenSample", "sample.wav", nullptr, {}, 0},
        RecordingCase{"ToneMp3", "tone.mp3", kTone, {"-c:a", "libmp3lame"}, 3000},
        RecordingCase{"ToneWav", "tone.wav", kTone, {}, 3000},
        RecordingCase{"ToneOgg", "tone.ogg", "sine=frequency=300:sample_rate=48000:duration=2.5",
                      {"-c:a", "libvorbis"}, 2500},
        RecordingCase{"StereoToneInAFolderWithBlanksAndCjk", "我的 音乐/测试 录音 (1).mp3",
                      "sine=frequency=660:sample_rate=22050:duration=4", {"-ac", "2"}, 4000}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  // Makes the source in the folder given and returns its path.
  std::function<fs::path(const fs::path&)> make;
  JobFailure failure;
  // Where the reason starts.
  const char* reason;
};

class RefusalTest : public JobTest, public ::testing::WithParamInterface<RefusalCase> {};

// What the real ffmpeg says of sources that are no audio, read into the
// cause the user is told first.
TEST_P(RefusalTest, SaysWhyAndLeavesNothingInTheResultFolder) {
  const fs::path source = GetParam().make(sources_.path());
  const JobOutcome outcome = RunJob(PathText(source));
  EXPECT_EQ(outcome.failure, GetParam().failure) << texts::FailureReason(outcome);
  EXPECT_TRUE(texts::FailureReason(outcome).starts_with(GetParam().reason))
      << texts::FailureReason(outcome);
  EXPECT_EQ(outcome.output_path, "");
  EXPECT_TRUE(EntryNames(g_program->result()).empty());
}

fs::path Written(const fs::path& file, std::string_view content) {
  WriteAll(file, content);
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Sources, RefusalTest,
    ::testing::Values(
        RefusalCase{"TextNamedMp3",
                    [](const fs::path& dir) {
                      return Written(dir / "x.mp3", "这不是音频，只是一行字。\n");
                    },
                    JobFailure::kNotAudio, "不是能识别的音频文件："},
        RefusalCase{"EmptyFile", [](const fs::path& dir) { return Written(dir / "空.mp3", ""); },
                    JobFailure::kNotAudio, "不是能识别的音频文件："},
        RefusalCase{"Text", [](const fs::path& dir) { return Written(dir / "t.txt", "hello\n"); },
                    JobFailure::kNotAudio, "不是能识别的音频文件："},
        RefusalCase{"VideoOnlyMp4",
                    [](const fs::path& dir) {
                      EXPECT_TRUE(Generate(dir / "v.mp4", "testsrc=duration=1:size=64x64",
                                           {"-c:v", "mpeg4"}));
                      return dir / "v.mp4";
                    },
                    JobFailure::kNoAudioStream, "文件里没有音频："},
        RefusalCase{"Picture",
                    [](const fs::path& dir) {
                      EXPECT_TRUE(Generate(dir / "p.png", "testsrc=duration=0.1:size=32x32",
                                           {"-frames:v", "1"}));
                      return dir / "p.png";
                    },
                    JobFailure::kNoAudioStream, "文件里没有音频："},
        RefusalCase{"Missing", [](const fs::path& dir) { return dir / Utf8Path("不存在.mp3"); },
                    JobFailure::kSourceMissing, "找不到音频文件 "},
        RefusalCase{"ZeroSamples",
                    [](const fs::path& dir) {
                      const fs::path wav = dir / "empty.wav";
                      EXPECT_TRUE(Generate(wav, "anullsrc=r=24000:cl=mono", {"-t", "0"}));
                      EXPECT_EQ(fs::file_size(wav), 78u) << "a header and no samples";
                      return wav;
                    },
                    JobFailure::kNoAudio, "录音长度为零："}),
    [](const auto& info) { return std::string(info.param.name); });

// A full disk, on a file system of 200 KiB put where the result folder is
// (as root only: mounting one needs it).
TEST_F(JobTest, SaysWhenTheDiskIsFull) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  TempFolder small("small disk");
  ASSERT_TRUE(Ran({"/bin/mount", "-t", "tmpfs", "-o", "size=200k", "tmpfs", small.text()}));
  const fs::path result = g_program->result();
  fs::rename(result, result.string() + ".kept");
  fs::create_directory_symlink(small.path(), result);
  const fs::path source = sources_.path() / "long.wav";
  ASSERT_TRUE(Generate(source, "sine=frequency=440:duration=10"));

  const JobOutcome outcome = RunJob(PathText(source));

  const std::vector<std::string> left = EntryNames(small.path());
  fs::remove(result);
  fs::rename(result.string() + ".kept", result);
  Ran({"/bin/umount", small.text()});
  EXPECT_EQ(outcome.failure, JobFailure::kDiskFull) << texts::FailureReason(outcome);
  EXPECT_TRUE(texts::FailureReason(outcome).starts_with("磁盘空间不足，无法写出结果（ffmpeg"))
      << texts::FailureReason(outcome);
  EXPECT_TRUE(left.empty());
}

// tosilk-cli from the installed folder on a folder as people have them:
// recordings of several kinds among a note and a film without sound. Each
// recording becomes NAME.silk that decodes to its length; the others are
// passed over, and all is well.
TEST_F(JobTest, TheCommandLineConvertsAMixedFolder) {
  const fs::path folder = sources_.path() / Utf8Path("混合 文件夹");
  fs::create_directories(folder);
  const std::vector<std::pair<std::string, std::vector<std::string>>> recordings = {
      {"一.wav", {}},
      {"二.mp3", {"-c:a", "libmp3lame"}},
      {"三.ogg", {"-c:a", "libvorbis"}}};
  for (const auto& [name, codec] : recordings) {
    ASSERT_TRUE(Generate(folder / Utf8Path(name), "sine=frequency=440:sample_rate=44100:duration=3",
                         codec));
  }
  WriteAll(folder / Utf8Path("说明.txt"), "这不是音频。\n");
  ASSERT_TRUE(Generate(folder / "film.mp4", "testsrc=duration=1:size=64x64", {"-c:v", "mpeg4"}));
  const fs::path out = sources_.path() / Utf8Path("输出");

  const std::string cli = PathText(g_program->path() / "tosilk-cli");
  const testing::Captured run =
      testing::RunCaptured(cli, {cli, "-o", PathText(out), PathText(folder)}, sources_.path());

  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(EntryNames(out), (std::vector<std::string>{"一.silk", "三.silk", "二.silk"})) << run.out;
  EXPECT_NE(run.out.find("说明.txt：已跳过，不是能识别的音频文件"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("film.mp4：已跳过，文件里没有音频"), std::string::npos) << run.out;
  for (const std::string& name : EntryNames(out)) {
    const fs::path decoded = sources_.path() / "decoded.pcm";
    ASSERT_TRUE(Ran({PathText(g_program->path() / "silk_v3_decoder"), PathText(out / Utf8Path(name)),
                     PathText(decoded)}));
    EXPECT_LE(std::llabs(static_cast<long long>(fs::file_size(decoded)) / 48 - 3000), 100) << name;
  }

  // And back: --decode writes audio files that ffmpeg reads as 3 s long.
  const fs::path back = sources_.path() / Utf8Path("解码");
  const testing::Captured decode = testing::RunCaptured(
      cli, {cli, "--decode", "--format", "flac", "-o", PathText(back), PathText(out)}, sources_.path());
  EXPECT_EQ(decode.status, 0) << decode.out << decode.err;
  EXPECT_EQ(EntryNames(back), (std::vector<std::string>{"一.flac", "三.flac", "二.flac"}));
}

}  // namespace
}  // namespace tosilk
