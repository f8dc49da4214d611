#include "sim_options.h"

#include "parport_programmer.h"
#include "usbasp_programmer.h"

#include <cstdlib>

namespace {

bool parseBlockSize(const std::string &text, unsigned &value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 5)
        return false;
    const unsigned long v = std::strtoul(text.c_str(), nullptr, 10);
    if (v > 0xFFFF) // announced as two bytes
        return false;
    value = unsigned(v);
    return true;
}

bool parseCount(const std::string &text, unsigned &value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        return false;
    value = unsigned(std::strtoul(text.c_str(), nullptr, 10));
    return true;
}

} // namespace

bool parseSimOptions(const std::vector<std::string> &args, SimOptions &options, std::string *error)
{
    auto fail = [error](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const std::size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--silent" && !hasValue) {
            options.silent = true;
            continue;
        }
        if (name != "--chip" && name != "--state" && name != "--port-file" && name != "--log" && name != "--block"
            && name != "--socket" && name != "--tcp-port-file" && name != "--usbasp" && name != "--parport"
            && name != "--usbasp-vanish-after" && name != "--avr910-hangup-after")
            return fail("unknown option " + args[i]);
        if (!hasValue) {
            if (i + 1 >= args.size())
                return fail(name + " needs a value");
            value = args[++i];
        }
        if (name == "--chip") {
            if (value != "m8" && value != "m16" && value != "none")
                return fail("--chip must be m8, m16 or none");
            options.chip = value;
        } else if (name == "--state") {
            options.stateFolder = value;
        } else if (name == "--port-file") {
            options.portFile = value;
        } else if (name == "--socket") {
            options.socketPath = value;
        } else if (name == "--tcp-port-file") {
            options.tcpPortFile = value;
        } else if (name == "--usbasp") {
            UsbaspMode mode;
            if (!parseUsbaspMode(value, mode))
                return fail("--usbasp must be normal, absent, no-access, old-firmware or old-ids");
            options.usbasp = value;
        } else if (name == "--parport") {
            ParportMode mode;
            if (!parseParportMode(value, mode))
                return fail("--parport must be dongle, absent or no-access");
            options.parport = value;
        } else if (name == "--usbasp-vanish-after" || name == "--avr910-hangup-after") {
            if (!parseCount(value,
                            name == "--usbasp-vanish-after" ? options.usbaspVanishAfter : options.avr910HangUpAfter))
                return fail(name + " must be a number");
        } else if (name == "--log") {
            options.logFile = value;
        } else if (name == "--block") {
            if (!parseBlockSize(value, options.blockSize))
                return fail("--block must be a number from 0 to 65535");
        }
        if (value.empty())
            return fail(name + " needs a value");
    }
    return true;
}

const char *simUsage()
{
    return "usage: fusewright-sim [--chip m8|m16|none] [--state DIR] [--port-file PATH]\n"
           "                      [--block N] [--log FILE] [--silent]\n"
           "                      [--socket PATH] [--tcp-port-file PATH] [--usbasp MODE]\n"
           "                      [--parport MODE] [--usbasp-vanish-after N]\n"
           "                      [--avr910-hangup-after N]\n"
           "\n"
           "Serves the AVR910 programmer protocol on a pseudo-terminal, and a USBasp,\n"
           "a pony-stk200 dongle and bare ISP instructions on the request link, with one simulated\n"
           "ATmega8 or ATmega16 behind them.\n"
           "\n"
           "  --chip       target part; none = no chip answering (default m8)\n"
           "  --state      folder holding the chip's memories as raw files\n"
           "  --port-file  where to write the pseudo-terminal's path (one line);\n"
           "               without it the path goes to standard output\n"
           "  --block      block buffer size announced; 0 = no block mode (default 128)\n"
           "  --log        append a readable protocol log to FILE\n"
           "  --silent     read everything, answer nothing (a dead programmer)\n"
           "  --socket     serve the request link on a Unix socket at PATH\n"
           "  --tcp-port-file  serve it on 127.0.0.1 too; the port goes to PATH\n"
           "  --usbasp     normal, absent, no-access, old-firmware or old-ids\n"
           "  --parport    dongle (pony-stk200 on /dev/parport0), absent or no-access\n"
           "  --usbasp-vanish-after N  pull the USBasp out after N control transfers;\n"
           "               the next bus scan finds it again\n"
           "  --avr910-hangup-after N  hang up the serial line after N commands,\n"
           "               leaving the last unanswered\n";
}
