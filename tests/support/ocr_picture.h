#pragma once

// What both toolkits' tests need to read a box's pixels back by OCR (tesseract), in the standard
// library only: a shot in grey, its runs of ink, the picture tesseract is given, the command
// line that reads it, and the answer cleaned.

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace kalvena::test {

// A box's pixels in grey (0 black, 255 white), with the grey most of them have: its ground.
struct GreyShot {
  int width = 0, height = 0;
  std::vector<int> grey;
  int ground = 255;

  int at(int x, int y) const { return grey[static_cast<std::size_t>(y * width + x)]; }
  // Ink is darker than half the ground: antialiased edges count where they are dark.
  bool ink(int x, int y) const { return 2 * at(x, y) < ground; }

  void findGround() {
    std::map<int, int> count;
    for (const int g : grey) ++count[g];
    ground = std::max_element(count.begin(), count.end(), [](auto& a, auto& b) {
               return a.second < b.second;
             })->first;
  }
};

// How many runs of inked columns the shot has: one per character where none touch.
inline int inkRuns(const GreyShot& shot) {
  int runs = 0;
  bool inRun = false;
  for (int x = 0; x < shot.width; ++x) {
    bool inked = false;
    for (int y = 0; y < shot.height && !inked; ++y) inked = shot.ink(x, y);
    if (inked && !inRun) ++runs;
    inRun = inked;
  }
  return runs;
}

// Tesseract does not read a lone character reliably: a shot with one run of ink is read as a
// row of three copies of it, with a digit whitelist (alone, a 1 is as much an l).
inline bool readAsLone(const GreyShot& shot, const std::string& language) {
  return language == "eng" && inkRuns(shot) == 1;
}

// The picture tesseract reads, as a binary PGM: the shot (`copies` times side by side), its pixels
// enlarged to about 44 pixels of line and softened by a Gaussian of 0.44 of the enlargement (OCR
// reads print, not pixel steps), the box's ground turned to paper, within a wide white margin.
inline std::string ocrPicture(const GreyShot& one, int copies) {
  // The text, to the faintest edge of its strokes, with ground around it (around each copy) of
  // a third of its height, so that the same text in a box of another size is the same picture.
  int first = one.width, last = -1, above = one.height, below = -1;
  for (int x = 0; x < one.width; ++x) {
    for (int y = 0; y < one.height; ++y) {
      if (one.at(x, y) >= one.ground - 12) continue;
      first = std::min(first, x), last = std::max(last, x);
      above = std::min(above, y), below = std::max(below, y);
    }
  }
  if (last < first) first = 0, last = one.width - 1, above = 0, below = one.height - 1;
  const int wide = last - first + 1, high = below - above + 1;
  const int apart = std::max(2, high / 3);
  GreyShot shot;
  shot.width = copies * wide + (copies + 1) * apart;
  shot.height = high + 2 * apart;
  shot.ground = one.ground;
  shot.grey.assign(static_cast<std::size_t>(shot.width * shot.height), one.ground);
  for (int copy = 0; copy < copies; ++copy) {
    for (int y = 0; y < high; ++y) {
      std::copy_n(one.grey.begin() + (above + y) * one.width + first, wide,
                  shot.grey.begin() + (apart + y) * shot.width + apart + copy * (wide + apart));
    }
  }
  const int scale = std::max(1, (44 + shot.height / 2) / std::max(1, shot.height));
  const int margin = 10 * scale;
  const int w = shot.width * scale + 2 * margin, h = shot.height * scale + 2 * margin;
  std::vector<double> grey(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 255);
  for (int y = 0; y < shot.height * scale; ++y) {
    for (int x = 0; x < shot.width * scale; ++x) {
      // The box's ground is paper; the light edges of smoothed strokes stay.
      const int g = shot.at(x / scale, y / scale);
      grey[static_cast<std::size_t>((y + margin) * w + x + margin)] =
          g >= shot.ground - 12 ? 255 : g;
    }
  }
  const double sigma = 0.44 * scale;
  const int radius = static_cast<int>(std::ceil(3 * sigma));
  std::vector<double> kernel;
  for (int i = -radius; i <= radius; ++i) kernel.push_back(std::exp(-i * i / (2 * sigma * sigma)));
  double sum = 0;
  for (const double k : kernel) sum += k;
  for (double& k : kernel) k /= sum;
  for (const bool across : {true, false}) {
    std::vector<double> out(grey.size());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        double v = 0;
        for (int i = -radius; i <= radius; ++i) {
          const int xx = across ? std::clamp(x + i, 0, w - 1) : x;
          const int yy = across ? y : std::clamp(y + i, 0, h - 1);
          v += kernel[static_cast<std::size_t>(i + radius)] *
               grey[static_cast<std::size_t>(yy * w + xx)];
        }
        out[static_cast<std::size_t>(y * w + x)] = v;
      }
    }
    grey.swap(out);
  }
  std::string pgm = "P5 " + std::to_string(w) + " " + std::to_string(h) + " 255\n";
  for (const double v : grey) pgm.push_back(static_cast<char>(std::lround(v)));
  return pgm;
}

// One way of reading a shot: how many copies of it the picture holds, and how tesseract is told
// to read it.
struct OcrAttempt {
  int copies = 1;
  bool digitsOnly = false;  // a lone character, read with a digit whitelist
  std::string psm;
};

// The ways a shot is read, in turn, until one finds any text (each attempt's picture is
// ocrPicture(shot, attempt.copies)): as one line, where a lone character is three copies with a
// digit whitelist; a lone character in which that finds nothing (tesseract sees no text in a
// small 8 alone), once more alone as a raw line.
inline std::vector<OcrAttempt> ocrAttempts(const GreyShot& shot, const std::string& language) {
  if (!readAsLone(shot, language)) return {{1, false, "7"}};
  return {{3, true, "7"}, {1, true, "13"}};
}

// The shell command that reads the picture `base`.pgm as told and leaves the answer in
// `base`.txt, renamed into place once it is whole. Tesseract on one thread: the tests run
// beside each other, and its threads would only compete with them for the cores.
inline std::string tesseractCommand(const std::string& base, const OcrAttempt& attempt,
                                    const std::string& language) {
  return "OMP_THREAD_LIMIT=1 tesseract " + base + ".pgm " + base + "-part --psm " + attempt.psm +
         (attempt.digitsOnly ? " -c tessedit_char_whitelist=0123456789" : "") + " -l " + language +
         " quiet; mv " + base + "-part.txt " + base + ".txt";
}

// Tesseract's answer as one line. A narrow digit before a point may read as a space between
// them, so spaces go too, in English. Three copies of one character that read alike are it.
inline std::string cleanedAnswer(std::string read, const OcrAttempt& attempt,
                                 const std::string& language) {
  std::erase_if(read,
                [&](char c) { return c == '\n' || c == '\f' || (c == ' ' && language == "eng"); });
  if (attempt.copies == 3 && read.size() == 3 && read[0] == read[1] && read[1] == read[2]) {
    read.resize(1);
  }
  return read;
}

}  // namespace kalvena::test
