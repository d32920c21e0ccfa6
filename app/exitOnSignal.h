#pragma once
// How the quillo program ends when it is interrupted: SIGINT, SIGTERM and SIGHUP make it exit
// at once with 128 + the signal's number (130, 143, 129), as a shell reports a program the
// signal ended, after the output writers have removed any temporary file they were writing
// (their handlers run first and pass the signal on here). A signal the program was started
// with ignored (nohup) stays ignored.
//
// SIGXFSZ is ignored, so that a file-size limit (ulimit -f) fails a write with "File too large"
// and the usual clean-up instead of killing the program.

namespace quillo {

void exitOnSignal();

} // namespace quillo
