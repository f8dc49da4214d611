#pragma once
// How many bytes of a memory an image file reaches, read before the tool is
// allowed to erase anything: an image that does not fit is refused whole.

#include <QByteArray>
#include <QString>

#include <optional>

// For a file the tool reads as Intel HEX, one past the highest address its
// data records reach, extended segment and linear address records included;
// for one it reads as raw binary (a byte outside ASCII), its size. Nothing
// when the extent cannot be known for sure: a damaged HEX file, an ELF or
// S-record file, plain text. The tool then judges the file itself.
std::optional<qint64> imageExtent(const QByteArray &content);

// imageExtent of the file at path; nothing when it cannot be read.
std::optional<qint64> imageFileExtent(const QString &path);
