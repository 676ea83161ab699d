// Opening a level (decode, size check, data file read) against libjpeg decoding the same file
// alone with the same settings: the ratio is what the editor adds to the bare decode.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "bench_level.h"
#include "editor/editor.h"
#include "support/fake_window.h"

namespace tollwen::bench {
namespace {

void BM_OpenLevel(benchmark::State& state) {
  BenchLevel level;
  FakeWindow window;
  Editor editor(window, BenchLevel::ResourceDir());
  for (auto _ : state) {
    window.AnswerPictureFile(level.PicturePath());
    editor.OpenLevel();
    window.ClearCalls();
    benchmark::DoNotOptimize(editor.State().Grid.CellAt(19, 13));
  }
  if (!editor.State().LevelOpen) state.SkipWithError("the level did not open");
  std::ifstream picture(level.PicturePath(), std::ios::binary | std::ios::ate);
  state.counters["picture_KiB"] = static_cast<double>(picture.tellg()) / 1024.0;
}
BENCHMARK(BM_OpenLevel)->Unit(benchmark::kMillisecond);

// Reads the file into memory and decodes it into an RGB buffer, as the level picture loader
// does, but with nothing around it.
void BM_BareJpegDecode(benchmark::State& state) {
  BenchLevel level;
  std::vector<unsigned char> pixels(640 * 447 * 4);
  for (auto _ : state) {
    std::ifstream in(level.PicturePath(), std::ios::binary);
    std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.do_block_smoothing = TRUE;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.data() + cinfo.output_scanline * cinfo.output_width * 4;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_BareJpegDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tollwen::bench
