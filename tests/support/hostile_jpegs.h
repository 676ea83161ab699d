#pragma once

// JPEG files crafted to make a decoder spend time or memory: scans repeated far beyond what
// any picture needs, headers that promise far more pixels than the file holds, and real
// pictures too large to be worth decoding whole. Shared by the tests (which check each file's
// verdict) and the benchmarks (which time the worst).

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tollwen::test {

struct NamedJpeg {
  std::string name;
  // Makes the file's bytes: some are tens of megabytes, made only when needed.
  std::function<std::vector<unsigned char>()> make;
};

// The hostile files:
//   wide                    a real 17000 x 8 picture (a side over 16384)
//   header_16384x4096       a tiny grayscale picture whose header claims 16384 x 4096
//   header_65500x65500      the same claiming the largest size a header can hold
//   arithmetic_header_65500x65500  the same, arithmetic-coded (its decoder runs on after the
//                           data without saying so)
//   progressive_16384x4096  a progressive picture claiming 16384 x 4096: its coefficient buffer
//                           alone would take hundreds of megabytes
//   progressive_1920x1080_full_colour  a real progressive photo-sized picture with colour at
//                           every pixel: its coefficient buffer is over the decoder's limit
//   arithmetic_16384x8192   a real arithmetic-coded picture of 134 million noisy pixels (53 MiB)
//   wide_second_scan        the 17000 x 8 picture with its scan repeated once: a second scan
//                           in a sequential file, an error libjpeg only sees at the file's end
//   scans_<n>               a 640 x 447 progressive picture whose scans repeat to n in all, for
//                           n = `scanLimit` (the most still accepted) and 400
//   arithmetic_scans_400    the same, arithmetic-coded
std::vector<NamedJpeg> HostileJpegs(int scanLimit);

// Names the file in test output instead of dumping its bytes.
inline void PrintTo(const NamedJpeg& jpeg, std::ostream* out) { *out << jpeg.name; }

}  // namespace tollwen::test
