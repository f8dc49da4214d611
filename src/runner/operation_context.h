#pragma once
// An operation works on what the user saw when pressing its button: the
// selections and the expected signature are taken once, before anything
// runs, and every command line of the operation is built from them. A
// selection changed while a tool runs applies to the next operation.

#include "command_grammar.h"
#include "tool_command.h"
#include "tool_dialect.h"

struct OperationContext {
    Selections selections;
    QString expectedSignature; // "0x1e9307"; empty when the part is unknown
    ToolCommand prefix;        // the common prefix for these selections
    ToolDialect dialect;
};

// One run of the tool as an operation sees it.
struct CapturedRun {
    QString text; // everything the tool printed; empty when it could not start
    bool exitedWithZero = false;
    bool abandoned = false; // the window is closing: the operation ends without a word
    bool ran = true;        // false: the tool could not be started
    int silentSeconds = 0;  // >0: stopped after printing nothing for this long
};
