#pragma once

#include "desk_load.h"

#include <string>
#include <vector>

// What must hold after the desks benchmark's run, checked on the server with
// libpq (not through the store the desks used) against what the desks were
// told: no row paid twice, every sheet's total equal to its rows, one audit
// row per confirmed change, no confirmed deal lost, and no message a user
// read that carries the server's raw text.
namespace DeskChecks {

struct Check
{
    std::string name;
    bool held = true;
    std::string detail; // the numbers behind it
};

std::vector<Check> run(const std::string &options, const DeskLoad::Tally &tally);

} // namespace DeskChecks
