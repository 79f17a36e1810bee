// process_exit.h - ending the program from wherever a quit request is seen.
//
//   if (escapePressed) exitProcess(0);
//
// The loading screen handles window events while worker threads still
// decode, reading the decoders' and the image codec's static state. exit()
// would destroy that state under them, so while such work runs (threads that
// hold a BackgroundWork) the process flushes its output and ends at once
// instead; otherwise it is a plain exit().
#pragma once

[[noreturn]] void exitProcess(int status);

// Held by a thread for as long as it works beside the main thread.
struct BackgroundWork {
    BackgroundWork();
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;
};
