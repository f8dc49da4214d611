#pragma once
// What an operation does: the running operation carries it, and the hints
// are chosen by it.

enum class OperationKind {
    Reset,
    FuseRead,
    FuseWrite,
    CalibrationRead,
    FlashProgram,
    FlashRead,
    EepromProgram,
    EepromRead,
};
