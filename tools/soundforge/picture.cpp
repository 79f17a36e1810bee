#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace {

void secondsAxis(cv::Mat& img, double seconds, int baseline) {
  for (int s = 0; s < (int)seconds; s += 30) {
    int x = (int)(s / seconds * img.cols);
    cv::putText(img, std::to_string(s) + "s", {x + 2, baseline}, cv::FONT_HERSHEY_PLAIN, 0.9, cv::Scalar(200, 200, 200));
  }
}

bool save(const cv::Mat& img, const std::string& path) {
  if (!cv::imwrite(path, img)) {
    std::fprintf(stderr, "soundforge: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool writeSoundPicture(const std::vector<int16_t>& pcm, int rate, const std::vector<double>& marks, const std::string& path) {
  const int width = 1600, waveH = 160, specH = 320, window = 4096;
  size_t frames = pcm.size() / 2;
  if (frames < (size_t)window) {
    std::fprintf(stderr, "soundforge: too little audio for a picture\n");
    return false;
  }
  cv::Mat img(waveH + specH, width, CV_8UC3, cv::Scalar(18, 14, 12));
  cv::Mat frame(1, window, CV_32F), spectrum;
  for (int x = 0; x < width; x++) {
    size_t a = frames * x / width, b = frames * (x + 1) / width;
    int lo = 0, hi = 0;
    for (size_t i = a; i < b; i++) {
      int m = (pcm[2 * i] + pcm[2 * i + 1]) / 2;
      lo = std::min(lo, m);
      hi = std::max(hi, m);
    }
    int mid = waveH / 2;
    cv::line(img, {x, mid - hi * mid / 32768}, {x, mid - lo * mid / 32768}, cv::Scalar(120, 200, 230));
    size_t start = std::min(a, frames - window);
    for (int i = 0; i < window; i++) {
      float hann = 0.5f - 0.5f * (float)std::cos(6.283185307 * i / (window - 1));
      frame.at<float>(0, i) = hann * (pcm[2 * (start + i)] + pcm[2 * (start + i) + 1]) / 65536.0f;
    }
    cv::dft(frame, spectrum, cv::DFT_COMPLEX_OUTPUT);
    for (int y = 0; y < specH; y++) {
      double f = 30.0 * std::pow(16000.0 / 30.0, (double)(specH - 1 - y) / (specH - 1));
      int bin = std::min(window / 2 - 1, (int)(f * window / rate));
      cv::Vec2f c = spectrum.at<cv::Vec2f>(0, bin);
      double db = 10.0 * std::log10(c[0] * c[0] + c[1] * c[1] + 1e-12);
      double v = std::clamp((db + 20.0) / 80.0, 0.0, 1.0);
      img.at<cv::Vec3b>(waveH + y, x) = cv::Vec3b((uchar)(255 * v * v), (uchar)(255 * v), (uchar)(255 * std::sqrt(v)));
    }
  }
  double seconds = (double)frames / rate;
  for (double m : marks) {
    int x = (int)(m / seconds * width);
    cv::line(img, {x, 0}, {x, 12}, cv::Scalar(80, 80, 255), 2);
  }
  secondsAxis(img, seconds, waveH - 4);
  return save(img, path);
}

bool writeLoudnessPicture(const std::vector<std::vector<double>>& curves, const std::vector<double>& marks,
                          const std::string& path) {
  const int width = 1600, height = 420;
  const double top = -5, bottom = -40;
  size_t longest = 0;
  for (const auto& c : curves) longest = std::max(longest, c.size());
  if (longest < 2) {
    std::fprintf(stderr, "soundforge: too little audio for a loudness curve\n");
    return false;
  }
  const double seconds = longest / 10.0 + 3.0;  // each value covers the 3 s from its start
  cv::Mat img(height, width, CV_8UC3, cv::Scalar(18, 14, 12));
  auto y = [&](double lufs) { return (int)std::lround((top - std::clamp(lufs, bottom, top)) / (top - bottom) * (height - 1)); };
  for (int l = -10; l >= -35; l -= 5) {
    cv::line(img, {0, y(l)}, {width - 1, y(l)}, cv::Scalar(60, 60, 60));
    cv::putText(img, std::to_string(l), {4, y(l) - 3}, cv::FONT_HERSHEY_PLAIN, 0.9, cv::Scalar(200, 200, 200));
  }
  for (double m : marks) {
    int x = (int)(m / seconds * width);
    cv::line(img, {x, 0}, {x, height - 1}, cv::Scalar(80, 80, 200));
  }
  const cv::Scalar colours[] = {cv::Scalar(150, 150, 150), cv::Scalar(60, 170, 255), cv::Scalar(255, 200, 90)};
  for (size_t c = 0; c < curves.size(); c++)
    for (size_t i = 1; i < curves[c].size(); i++) {
      auto x = [&](size_t k) { return (int)((k / 10.0 + 1.5) / seconds * width); };  // at the window's middle
      cv::line(img, {x(i - 1), y(curves[c][i - 1])}, {x(i), y(curves[c][i])}, colours[c % 3], 2);
    }
  secondsAxis(img, seconds, height - 4);
  return save(img, path);
}
