// video_pipe.h - frames written straight into an ffmpeg process, which
// encodes them (muxed with a WAV, or video only) into an mp4, and parts of
// one capture joined into one video.
//
//   VideoPipe video;
//   if (openVideoPipe(video, {"show.mp4", "sound.wav", false}, 1280, 720, 30)) {
//       writeVideoFrame(video, bgrFrame);   // every frame, in order
//       finishVideo(video);                 // or abandonVideo: no file left
//   }
//
// ffmpeg writes under a temporary name that is renamed only once it has
// finished, so an mp4 at the asked name is always complete.
#pragma once
#include <sys/types.h>

#include <opencv2/core.hpp>
#include <string>
#include <vector>

struct VideoPipe {
    pid_t process = 0;
    int input = -1;  // ffmpeg's standard input
    std::string path, temporary;
};

struct VideoFormat {
    std::string path;
    std::string wav;        // the sound to mux; empty: video only
    bool lossless = false;  // H.264 in its RGB lossless mode, else 4:2:0 at CRF 18
};

// Whether an ffmpeg executable is on the PATH.
bool haveFfmpeg();

// Starts ffmpeg in a process group of its own, so the terminal's Ctrl-C
// reaches the capture and not the encoder.
bool openVideoPipe(VideoPipe& video, const VideoFormat& format, int width, int height, int fps);

// B, G, R rows of the video's size; false once ffmpeg has gone.
bool writeVideoFrame(VideoPipe& video, const cv::Mat& bgr);

// Ends the input and waits for ffmpeg; true when it wrote the whole file,
// which then has its name. Otherwise nothing is left.
bool finishVideo(VideoPipe& video);

// Stops ffmpeg and removes its partial file.
void abandonVideo(VideoPipe& video);

// Joins video-only parts, in order, by stream copy (every frame kept as
// encoded) and muxes `wav` as AAC: true when `out` was written whole.
bool joinVideos(const std::string& out, const std::vector<std::string>& parts, const std::string& wav);
