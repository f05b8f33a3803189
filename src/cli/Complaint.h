#pragma once
// What the command line says on standard error: one line each, after its name.
#include <cstdint>
#include <cstdio>
#include <string>

namespace vt {

// Names and arguments in a message may hold controls or direction marks: the
// message is shown escaped as the table shows names (escaped parts stay as they are).
void Complain(std::FILE* err, const std::string& message);

// The complaint, a pointer to --help, and the exit status of a usage error.
int UsageError(std::FILE* err, const std::string& message);

// 61187 is a sentence of its own; the other texts get the "." an error box adds.
std::string FileMessage(const std::string& message);

// "1 file was", "12 files were".
std::string FilesWere(std::uint64_t count);

}  // namespace vt
