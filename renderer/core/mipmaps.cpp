#include "mipmaps.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "task_runner.h"

namespace {

// For each output pixel along one side: the first source pixel it covers and
// the weights (covered part over the output's extent, in 1/65536) of those it
// covers, which add up to 65536.
struct AreaTaps {
  std::vector<int> first;
  std::vector<int> begin;  // into weights; one more entry than outputs
  std::vector<uint32_t> weights;
  // Where no output covers more than two source pixels (a scale by less than
  // a half), the same taps as exactly two each, the second weighing 0 where
  // there is one: a loop without branches.
  bool pairs = false;
  std::vector<int> second;
  std::vector<uint32_t> pair_weights;  // two an output
};

void MakePairs(AreaTaps& taps) {
  const size_t outputs = taps.first.size();
  for (size_t i = 0; i < outputs; ++i)
    if (taps.begin[i + 1] - taps.begin[i] > 2) return;
  taps.pairs = true;
  for (size_t i = 0; i < outputs; ++i) {
    const bool two = taps.begin[i + 1] - taps.begin[i] == 2;
    taps.second.push_back(two ? taps.first[i] + 1 : taps.first[i]);
    taps.pair_weights.push_back(taps.weights[taps.begin[i]]);
    taps.pair_weights.push_back(two ? taps.weights[taps.begin[i] + 1] : 0);
  }
}

constexpr int kWeightBits = 16;

AreaTaps MakeAreaTaps(int in, int out) {
  AreaTaps taps;
  const double extent = static_cast<double>(in) / out;
  for (int i = 0; i < out; ++i) {
    const double low = i * extent;
    const double high = std::min(static_cast<double>(in), (i + 1) * extent);
    const int first = std::min(static_cast<int>(low), in - 1);
    taps.first.push_back(first);
    taps.begin.push_back(static_cast<int>(taps.weights.size()));
    uint32_t given = 0;
    for (int s = first; s < high && s < in; ++s) {
      const double covered = std::min(high, s + 1.0) - std::max(low, static_cast<double>(s));
      const uint32_t weight = static_cast<uint32_t>(covered / extent * (1 << kWeightBits) + 0.5);
      taps.weights.push_back(weight);
      given += weight;
    }
    taps.weights.back() += (1u << kWeightBits) - given;  // the rounding's remainder
  }
  taps.begin.push_back(static_cast<int>(taps.weights.size()));
  MakePairs(taps);
  return taps;
}

// A side of the next level down.
int HalfSide(int side) { return std::max(1, side / 2); }

// One row of 2 x 2 block means of four-byte pixels, all four bytes at once:
// the even and the odd bytes each summed in 16-bit lanes of one word.
void HalveFourByteRow(const unsigned char* in, const unsigned char* below, unsigned char* out, int width) {
  constexpr uint32_t kLanes = 0x00FF00FF;
  for (int x = 0; x < width; ++x) {
    uint32_t p[4];
    std::memcpy(&p[0], in + 8 * x, 8);
    std::memcpy(&p[2], below + 8 * x, 8);
    const uint32_t even = (p[0] & kLanes) + (p[1] & kLanes) + (p[2] & kLanes) + (p[3] & kLanes) + 0x00020002;
    const uint32_t odd = ((p[0] >> 8) & kLanes) + ((p[1] >> 8) & kLanes) + ((p[2] >> 8) & kLanes) +
                         ((p[3] >> 8) & kLanes) + 0x00020002;
    const uint32_t mean = ((even >> 2) & kLanes) | (((odd >> 2) & kLanes) << 8);
    std::memcpy(out + 4 * x, &mean, 4);
  }
}

// Rows [y_begin, y_end) of the half of a width x height picture of In-byte
// pixels, as Out-byte pixels: the rounded mean of each 2 x 2 block, or of each
// pair where a side is 1; a fourth byte out is 255.
template <int In, int Out>
void HalveRows(const unsigned char* pixels, int width, int height, MipmapLevel& half, int y_begin, int y_end) {
  const size_t row = static_cast<size_t>(width) * In;
  const size_t out_row = static_cast<size_t>(half.width) * Out;
  for (int y = y_begin; y < y_end; ++y) {
    const unsigned char* in = pixels + (height > 1 ? 2 * y : y) * row;
    unsigned char* out = half.rgb.data() + y * out_row;
    if (width > 1 && height > 1) {
      const unsigned char* below = in + row;
      if (In == 4 && Out == 4) {  // the fourth bytes are all 255, and so is their mean
        HalveFourByteRow(in, below, out, half.width);
        continue;
      }
      for (int x = 0; x < half.width; ++x, in += 2 * In, below += 2 * In, out += Out) {
        for (int c = 0; c < 3; ++c)
          out[c] = static_cast<unsigned char>((in[c] + in[c + In] + below[c] + below[c + In] + 2) >> 2);
        if (Out == 4) out[3] = 255;
      }
    } else {
      const size_t other = width > 1 ? In : row;  // the pair's second pixel
      const size_t step = width > 1 ? 2 * In : In;
      for (int x = 0; x < half.width; ++x, in += step, out += Out) {
        for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>((in[c] + in[c + other] + 1) >> 1);
        if (Out == 4) out[3] = 255;
      }
    }
  }
}

MipmapLevel Halve(const TaskRunner& tasks, const unsigned char* pixels, int in_bytes, int width, int height,
                  int out_bytes) {
  MipmapLevel half;
  half.width = HalfSide(width);
  half.height = HalfSide(height);
  half.pixel_bytes = out_bytes;
  half.rgb.resize(static_cast<size_t>(half.width) * half.height * out_bytes);
  ForEachRange(tasks, half.height, RowsPerTask(half.width), [&](int begin, int end) {
    if (in_bytes == 3 && out_bytes == 3)
      HalveRows<3, 3>(pixels, width, height, half, begin, end);
    else if (in_bytes == 3)
      HalveRows<3, 4>(pixels, width, height, half, begin, end);
    else
      HalveRows<4, 4>(pixels, width, height, half, begin, end);
  });
  return half;
}

// One source row of RGB pixels scaled across: store(x, channel, sum) gets each
// output value's weighted sum, in 1/65536 of a level.
template <typename Store>
void ScaleRowAcross(const unsigned char* source, const AreaTaps& across, int new_width, Store store) {
  if (across.pairs) {
    for (int x = 0; x < new_width; ++x) {
      const unsigned char* a = source + across.first[x] * 3;
      const unsigned char* b = source + across.second[x] * 3;
      const uint32_t wa = across.pair_weights[2 * x], wb = across.pair_weights[2 * x + 1];
      for (int c = 0; c < 3; ++c) store(x, c, a[c] * wa + b[c] * wb);
    }
    return;
  }
  for (int x = 0; x < new_width; ++x) {
    uint32_t sum[3] = {0, 0, 0};
    const unsigned char* pixel = source + across.first[x] * 3;
    for (int k = across.begin[x]; k < across.begin[x + 1]; ++k, pixel += 3) {
      const uint32_t weight = across.weights[k];
      sum[0] += pixel[0] * weight;
      sum[1] += pixel[1] * weight;
      sum[2] += pixel[2] * weight;
    }
    for (int c = 0; c < 3; ++c) store(x, c, sum[c]);
  }
}

// Output rows [y_begin, y_end) of the area scale, as Out-byte pixels: the
// source rows they cover scaled across (into values with 8 fraction bits, each
// kept while later rows still need it), then weighted down. Results are
// truncated like GLU's, with a small allowance that keeps flat areas flat.
template <int Out>
void ScaleRowsByArea(const unsigned char* in, int width, unsigned char* out, int new_width, const AreaTaps& across,
                     const AreaTaps& down, int y_begin, int y_end) {
  const size_t row = static_cast<size_t>(new_width) * 3;
  int slots = 1;  // the most source rows one output row covers
  for (size_t y = 0; y + 1 < down.begin.size(); ++y) slots = std::max(slots, down.begin[y + 1] - down.begin[y]);
  std::vector<uint16_t> rows(row * slots);
  std::vector<int> held(slots, -1);  // the source row each slot holds
  std::vector<uint32_t> sum(row);
  for (int y = y_begin; y < y_end; ++y) {
    int source_row = down.first[y];
    for (int k = down.begin[y]; k < down.begin[y + 1]; ++k, ++source_row) {
      const int slot = source_row % slots;
      uint16_t* across_row = rows.data() + slot * row;
      if (held[slot] != source_row) {
        ScaleRowAcross(in + static_cast<size_t>(source_row) * width * 3, across, new_width, [&](int x, int c, uint32_t value) {
          across_row[x * 3 + c] = static_cast<uint16_t>((value + 128) >> 8);
        });
        held[slot] = source_row;
      }
      const uint32_t weight = down.weights[k];
      if (k == down.begin[y])
        for (size_t i = 0; i < row; ++i) sum[i] = across_row[i] * weight;
      else
        for (size_t i = 0; i < row; ++i) sum[i] += across_row[i] * weight;
    }
    unsigned char* target = out + static_cast<size_t>(y) * new_width * Out;
    for (int x = 0; x < new_width; ++x) {
      for (int c = 0; c < 3; ++c)
        target[x * Out + c] =
            static_cast<unsigned char>(std::min<uint32_t>(255, (sum[x * 3 + c] + (1u << 15)) >> (kWeightBits + 8)));
      if (Out == 4) target[x * Out + 3] = 255;
    }
  }
}

// ScaleRgbByArea into Out-byte pixels.
template <int Out>
void ScaleByArea(const TaskRunner& tasks, const unsigned char* in, int width, int height, unsigned char* out,
                 int new_width, int new_height) {
  const AreaTaps across = MakeAreaTaps(width, new_width);
  const size_t row = static_cast<size_t>(new_width) * Out;
  if (height == new_height) {  // the across scale makes the result itself
    ForEachRange(tasks, height, RowsPerTask(new_width), [&](int begin, int end) {
      for (int y = begin; y < end; ++y) {
        unsigned char* target = out + y * row;
        ScaleRowAcross(in + static_cast<size_t>(y) * width * 3, across, new_width, [&](int x, int c, uint32_t value) {
          target[x * Out + c] = static_cast<unsigned char>(std::min<uint32_t>(255, (value + (1u << 7)) >> kWeightBits));
          if (Out == 4) target[x * Out + 3] = 255;
        });
      }
    });
    return;
  }
  const AreaTaps down = MakeAreaTaps(height, new_height);
  ForEachRange(tasks, new_height, RowsPerTask(new_width), [&](int begin, int end) {
    ScaleRowsByArea<Out>(in, width, out, new_width, across, down, begin, end);
  });
}

}  // namespace

int MipmapSide(int side) {
  if (side <= 1) return 1;
  int power = 1;
  while (side > 3) {
    side >>= 1;
    power <<= 1;
  }
  return side == 3 ? power * 4 : power * side;
}

void ScaleRgbByArea(const unsigned char* in, int width, int height, unsigned char* out, int new_width,
                    int new_height, const TaskRunner& tasks) {
  ScaleByArea<3>(tasks, in, width, height, out, new_width, new_height);
}

std::vector<MipmapLevel> BuildMipmapChain(const unsigned char* rgb, int width, int height, int max_side,
                                          int pixel_bytes, const TaskRunner& tasks) {
  std::vector<MipmapLevel> chain;
  if (!rgb || width <= 0 || height <= 0) return chain;
  pixel_bytes = pixel_bytes == 4 ? 4 : 3;
  MipmapLevel base;
  base.width = MipmapSide(width);
  base.height = MipmapSide(height);
  base.pixel_bytes = pixel_bytes;
  while (max_side > 0 && (base.width > max_side || base.height > max_side)) {
    base.width = HalfSide(base.width);
    base.height = HalfSide(base.height);
  }
  const size_t row = static_cast<size_t>(base.width) * pixel_bytes;
  if (base.width == width && base.height == height) {
    base.rgb.resize(row * height);
    for (size_t i = 0, j = 0; j < base.rgb.size(); i += 3, j += pixel_bytes) {
      std::memcpy(&base.rgb[j], rgb + i, 3);
      if (pixel_bytes == 4) base.rgb[j + 3] = 255;
    }
  } else if (base.width * 2 == width && base.height * 2 == height) {
    base = Halve(tasks, rgb, 3, width, height, pixel_bytes);  // an exact halving is an ordinary level step
  } else {
    base.rgb.resize(row * base.height);
    if (pixel_bytes == 4)
      ScaleByArea<4>(tasks, rgb, width, height, base.rgb.data(), base.width, base.height);
    else
      ScaleByArea<3>(tasks, rgb, width, height, base.rgb.data(), base.width, base.height);
    // GLU's scale leaves the top row black when only the width changes (a
    // 1280 x 1024 desktop, say); the frames have always shown that row.
    if (base.height == height)
      for (size_t j = base.rgb.size() - row; j < base.rgb.size(); j += pixel_bytes) std::memset(&base.rgb[j], 0, 3);
  }
  chain.push_back(std::move(base));
  while (chain.back().width > 1 || chain.back().height > 1) {
    const MipmapLevel& last = chain.back();
    chain.push_back(Halve(tasks, last.rgb.data(), pixel_bytes, last.width, last.height, pixel_bytes));
  }
  return chain;
}
