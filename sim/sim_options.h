#pragma once

#include <string>
#include <vector>

struct SimOptions {
    std::string chip = "m8"; // m8, m16 or none
    std::string stateFolder;
    std::string portFile;
    std::string logFile;
    unsigned blockSize = 128;
    bool silent = false; // a programmer that never answers
    bool help = false;
};

// Accepts "--name value" and "--name=value".
bool parseSimOptions(const std::vector<std::string> &args, SimOptions &options, std::string *error);

const char *simUsage();
