#pragma once
// The threads a build spreads its feathers over, and how many there are.
//
// A feather is a pure function of its description, guide and seed, so independent feathers can
// be built at once: each worker runs on its own copy of the generator and its own scratch,
// reads the shared inputs only, and writes its results into the slot of the item it built, so
// the results come out in item order and equal a one-worker build bit for bit.
//
// Workers never call into the host: everything they read from it (ramps, textures, surfaces)
// is read on the calling thread before they start. So the host (and Maya) sees the plug-in
// from one thread only, whatever it does with its own threads.

#include <cstddef>
#include <functional>

// The environment variable that sets the worker count: a whole number from 1 up.
constexpr const char* buildWorkersVariable = "QUILLO_WORKERS";
// The most workers a build starts, beyond any machine's thread count; larger counts are taken
// as this (a mistyped value must not start thousands of threads).
constexpr unsigned int maxBuildWorkers = 1024;

// The number of workers a build uses, at least 1: the count set with setBuildWorkerCount, else
// QUILLO_WORKERS when it holds a whole number of at least 1, else the machine's hardware
// threads (1 when unknown). Read on every build, so a change takes effect at the next one.
unsigned int buildWorkerCount();
// Overrides the environment and the machine's count; 0 goes back to them. The quillo program's
// --workers option and the tests use it. Main thread only.
void setBuildWorkerCount(unsigned int workers);

// Calls task(item, worker) once for every item in 0 .. count - 1, on at most `workers`
// threads; worker is 0 .. workers - 1 and names the thread's own scratch, so a task may use
// the scratch of its worker number without locking. With one worker (or one item) every call
// runs in item order on the calling thread and no thread is started. Otherwise the calling
// thread is worker 0 and the items are handed out in ascending order as threads become free;
// returns once every item is done. A thread that cannot be started leaves its share to the
// others. The first exception a task throws is rethrown here once all threads have stopped
// (items not yet begun are then skipped).
void runOnWorkers(size_t count, unsigned int workers,
                  const std::function<void(size_t item, unsigned int worker)>& task);
