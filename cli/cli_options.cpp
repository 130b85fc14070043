#include "cli/cli_options.h"

#include <charconv>

#include "texts/cli_texts.h"

namespace tosilk::cli {
namespace {

ParsedOptions Wrong(std::string error) { return {std::nullopt, std::move(error)}; }

// A whole number from 1 to 256.
std::optional<unsigned> JobCount(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 256) {
    return {};
  }
  return value;
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& words) {
  CliOptions options;
  bool format_given = false;
  bool only_files = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (only_files || word == "-" || !word.starts_with("-")) {
      options.inputs.push_back(word);
      continue;
    }
    if (word == "--") {
      only_files = true;
      continue;
    }
    // The option's name and, when it takes one, its value: given after "="
    // or run on ("-j4"), or else the next word.
    std::string name = word;
    std::optional<std::string> value;
    if (const std::size_t equals = word.find('='); word.starts_with("--") && equals != std::string::npos) {
      name = word.substr(0, equals);
      value = word.substr(equals + 1);
    } else if (!word.starts_with("--") && word.size() > 2) {
      name = word.substr(0, 2);
      value = word.substr(2);
    }
    const auto take_value = [&]() -> std::optional<std::string> {
      if (value) return value;
      if (i + 1 < words.size()) return words[++i];
      return {};
    };
    if (name == "-h" || name == "--help") {
      options.action = CliOptions::Action::kHelp;
    } else if (name == "-V" || name == "--version") {
      options.action = CliOptions::Action::kVersion;
    } else if (name == "--json" && !value) {
      options.json = true;
    } else if ((name == "-r" || name == "--recursive") && !value) {
      options.recursive = true;
    } else if (name == "--decode" && !value) {
      options.decode = true;
    } else if (name == "-o" || name == "--output") {
      const std::optional<std::string> folder = take_value();
      if (!folder || folder->empty()) return Wrong(texts::cli::NeedsValue(name));
      options.output_folder = *folder;
    } else if (name == "-j" || name == "--jobs") {
      const std::optional<std::string> count = take_value();
      if (!count) return Wrong(texts::cli::NeedsValue(name));
      const std::optional<unsigned> jobs = JobCount(*count);
      if (!jobs) return Wrong(texts::cli::BadJobCount(*count));
      options.jobs = *jobs;
    } else if (name == "--format") {
      const std::optional<std::string> format_name = take_value();
      if (!format_name) return Wrong(texts::cli::NeedsValue(name));
      const std::optional<AudioFormat> format = AudioFormatNamed(*format_name);
      if (!format) return Wrong(texts::cli::BadFormat(*format_name));
      options.format = *format;
      format_given = true;
    } else {
      return Wrong(texts::cli::UnknownOption(word));
    }
  }
  if (options.action != CliOptions::Action::kRun) return {options, {}};
  if (format_given && !options.decode) return Wrong(std::string(texts::cli::kFormatWithoutDecode));
  if (options.inputs.empty()) return Wrong(std::string(texts::cli::kNoInputs));
  return {options, {}};
}

}  // namespace tosilk::cli
