#pragma once

#include <string>
#include <vector>

struct SimOptions {
    std::string chip = "m8"; // m8, m16 or none
    std::string stateFolder;
    std::string portFile;
    std::string logFile;
    std::string socketPath;  // the request link on a Unix socket
    std::string tcpPortFile; // the request link on loopback TCP; its port goes here
    std::string usbasp = "normal";
    std::string parport = "dongle";
    unsigned blockSize = 128;
    unsigned usbaspVanishAfter = 0; // control transfers; 0: never
    unsigned avr910HangUpAfter = 0; // commands; 0: never
    bool silent = false;            // a programmer that never answers
    bool help = false;
};

// Accepts "--name value" and "--name=value".
bool parseSimOptions(const std::vector<std::string> &args, SimOptions &options, std::string *error);

const char *simUsage();
