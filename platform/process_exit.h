// process_exit.h - ending the program from wherever a quit request is seen.
//
//   if (escapePressed) exitProcess(0);
//
// The loading screen handles window events from inside set-up's parallel
// decoding loop, while worker threads still read the decoders' and the
// image codec's static state. exit() would destroy that state under them,
// so inside a parallel region the process flushes its output and ends at
// once instead; everywhere else it is a plain exit().
#pragma once

[[noreturn]] void exitProcess(int status);
