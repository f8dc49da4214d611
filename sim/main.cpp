#include "atomic_file.h"
#include "chip.h"
#include "chip_model.h"
#include "chip_state_files.h"
#include "link_server.h"
#include "protocol_log.h"
#include "pseudo_terminal.h"
#include "sim_options.h"
#include "sim_server.h"
#include "stop_signals.h"

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    SimOptions options;
    std::string error;
    if (!parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, &error)) {
        std::fprintf(stderr, "fusewright-sim: %s\n\n%s", error.c_str(), simUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(simUsage(), stdout);
        return 0;
    }

    Chip chip(findChipModel(options.chip));

    std::unique_ptr<ChipStateFiles> stateFiles;
    if (!options.stateFolder.empty() && chip.present()) {
        stateFiles = std::make_unique<ChipStateFiles>(options.stateFolder);
        if (!stateFiles->prepare(&error)) {
            std::fprintf(stderr, "fusewright-sim: %s\n", error.c_str());
            return 1;
        }
        stateFiles->load(chip);
    }

    ProtocolLog log;
    if (!options.logFile.empty() && !log.open(options.logFile, &error)) {
        std::fprintf(stderr, "fusewright-sim: %s\n", error.c_str());
        return 1;
    }

    PseudoTerminal port;
    if (!port.open(&error)) {
        std::fprintf(stderr, "fusewright-sim: %s\n", error.c_str());
        return 1;
    }

    // Listening before the port file appears: whoever waits for it may start at once.
    LinkServer link;
    if (!options.socketPath.empty() && !link.listenUnix(options.socketPath, &error)) {
        std::fprintf(stderr, "fusewright-sim: %s\n", error.c_str());
        return 1;
    }
    if (!options.tcpPortFile.empty()) {
        uint16_t tcpPort = 0;
        const std::string portLine = link.listenTcp(&tcpPort, &error) ? std::to_string(tcpPort) + "\n" : "";
        if (portLine.empty() || !writeFileAtomically(options.tcpPortFile, portLine.data(), portLine.size(), &error)) {
            std::fprintf(stderr, "fusewright-sim: %s\n", error.c_str());
            return 1;
        }
    }

    const int stopFd = installStopSignals();
    if (stopFd < 0) {
        std::perror("fusewright-sim: pipe");
        return 1;
    }

    const std::string line = port.slavePath() + "\n";
    if (options.portFile.empty()) {
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
    } else if (!writeFileAtomically(options.portFile, line.data(), line.size(), &error)) {
        std::fprintf(stderr, "fusewright-sim: %s\n", error.c_str());
        return 1;
    }

    const char *what = chip.present() ? chip.model()->name : "no chip";
    const std::string mode = options.silent      ? "silent"
                             : options.blockSize ? "block mode " + std::to_string(options.blockSize) + " bytes"
                                                 : "no block mode";
    std::fprintf(stderr, "fusewright-sim: %s on %s, %s\n", what, port.slavePath().c_str(), mode.c_str());
    log.write(std::string("serving ") + what + " on " + port.slavePath());

    UsbaspMode usbasp = UsbaspMode::Normal;
    parseUsbaspMode(options.usbasp, usbasp);
    ParportMode parport = ParportMode::Dongle;
    parseParportMode(options.parport, parport);
    SimServer server(chip, stateFiles.get(), log.isOpen() ? &log : nullptr, port, options.blockSize, usbasp, parport);
    server.setLink(link.listening() ? &link : nullptr);
    server.setSilent(options.silent);
    server.vanishUsbaspAfter(options.usbaspVanishAfter);
    server.hangUpAfter(options.avr910HangUpAfter);
    const int rc = server.run(stopFd);
    log.write("stopped");
    return rc;
}
