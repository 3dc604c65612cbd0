#pragma once

#include <string>

// What the floors of the paying item do besides their statements, in plain
// C++: the amounts of data.txt, the audit entries' time and data.txt put in
// place on the disk.
namespace FloorValues {

// A money amount of ten-thousandths as its plain number: 1500, 437.5.
void appendPlain(std::string &out, long long units);

// The local time as the audit trail stamps it, "YYYY-MM-DD HH:MM:SS".
std::string localStamp();

// Puts `bytes` in place as `folder`/data.txt as the program's durable file
// does: a temporary beside it written, synced and closed, renamed over it,
// the folder synced. Ends the program on a failure.
void replaceDataFile(const std::string &folder, const std::string &bytes);

} // namespace FloorValues
