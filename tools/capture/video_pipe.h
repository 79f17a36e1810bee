// video_pipe.h - frames written straight into an ffmpeg process, which
// muxes them with a WAV into an H.264/AAC mp4.
//
//   VideoPipe video;
//   if (openVideoPipe(video, "show.mp4", "sound.wav", 1280, 720, 30)) {
//       writeVideoFrame(video, bgrFrame);   // every frame, in order
//       finishVideo(video);                 // or abandonVideo: no file left
//   }
#pragma once
#include <sys/types.h>

#include <opencv2/core.hpp>
#include <string>

struct VideoPipe {
    pid_t process = 0;
    int input = -1;  // ffmpeg's standard input
    std::string path;
};

// Whether an ffmpeg executable is on the PATH.
bool haveFfmpeg();

// Starts ffmpeg in a process group of its own, so the terminal's Ctrl-C
// reaches the capture and not the encoder.
bool openVideoPipe(VideoPipe& video, const std::string& mp4, const std::string& wav, int width, int height,
                   int fps);

// B, G, R rows of the video's size; false once ffmpeg has gone.
bool writeVideoFrame(VideoPipe& video, const cv::Mat& bgr);

// Ends the input and waits for ffmpeg; true when it wrote the file.
bool finishVideo(VideoPipe& video);

// Stops ffmpeg and removes its partial file.
void abandonVideo(VideoPipe& video);
