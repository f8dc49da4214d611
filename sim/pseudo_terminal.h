#pragma once

#include <string>

// A pseudo-terminal pair in raw mode. The slave side stays open here too, so
// an avrdude closing its end leaves no hang-up behind for the next run.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool open(std::string *error);

    int masterFd() const { return master_; }
    const std::string &slavePath() const { return slavePath_; }

    // Drops whatever we sent that the other side never read.
    void discardUnreadAnswers();
    // Closes both sides: whoever still has the port open finds it hung up
    // (reads return 0 at once, for ever). masterFd() is -1 from then on.
    void hangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};
