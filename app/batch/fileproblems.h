#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lumo {
class Q5;
}

namespace lumo::batch {

// Why an existing path is no regular file ("it is a FIFO (named pipe), not a
// regular file", "it is a folder", "its links form a loop"); empty for a
// regular file and for a path that does not exist. Never opens the path, so
// a FIFO cannot block.
std::string notRegularReason(const std::string& path);
// The same for everything but folders, which the readers report themselves.
std::string unsafeInputReason(const std::string& path);

// Why a file the user named cannot be read ("no such file", "it is a
// folder", the system's reason), or empty when it can. `path` is quoted in
// the messages as the user gave it.
std::string unreadableReason(const std::string& path);

// Reads the raw file into q5; empty when it holds records, else what is
// wrong, naming the file as given ("x.raw: no such file", "x.raw holds no
// records").
std::string rawFileProblem(Q5& q5, const std::string& path);
// The same after a read of the raw file returned `readOk` with `records`
// records in its two lists.
std::string readRawProblem(const std::string& path, bool readOk, std::size_t records);

// Creates the output folder when it does not exist and proves it writable
// with a scratch file; the message names the folder and the system's reason,
// empty when the folder can take files.
std::string outputFolderProblem(const std::string& dir);

// The first file that two flights would both write, as "A and B would both
// write F" (or one flight twice, "A would write F twice"); empty when every
// output file is written once. `outputs[i]` are the files of flight
// `raws[i]`; names are compared after resolving links.
// "the output name F is too long for the file system (...)" for the first
// output whose name, with the atomic writer's temporary additions, exceeds
// what its folder's file system holds; empty when every name fits.
std::string nameTooLong(const std::vector<std::string>& outputs);

// "the output F is the input G" for the first output that is one of the
// inputs of the call (the same file after resolving links); empty when none
// is.
std::string outputIsInput(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);
std::string sharedOutput(const std::vector<std::string>& raws, const std::vector<std::vector<std::string>>& outputs);

} // namespace lumo::batch
