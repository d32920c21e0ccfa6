#pragma once
// What the fuzz programs share: loading the plug-in into the host once, a scratch file of the
// process's own, and the check that turns a broken promise into a crash libFuzzer records.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Initialises the plug-in (from the linked sources, as the node tests do) on first call, with
// its MEL scripts from the source tree, so that scene files can create its nodes.
void loadPlugin();

// A file name unique to this process under $TMPDIR (or /tmp), with the suffix; the same name
// on every call, so one input's file replaces the last one's.
const std::string& scratchFile(const std::string& suffix);

// Writes the bytes to the file; false when that fails.
bool writeFile(const std::string& path, const uint8_t* data, size_t size);

// Aborts with the message on stderr when the condition is false: the input broke a promise the
// code under test makes, and libFuzzer should keep it.
void check(bool condition, const std::string& what);
// The same for loops over many values, where building each message would cost more than the
// check: call it only once the condition has failed.
[[noreturn]] void fail(const std::string& what);

} // namespace fuzz
