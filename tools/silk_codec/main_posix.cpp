#include <string>
#include <vector>

#include "tools/silk_codec/codec_tool.h"

int main(int argc, char** argv) {
  return tosilk::codec::RunTool(SILK_CODEC_TOOL, std::vector<std::string>(argv, argv + argc));
}
