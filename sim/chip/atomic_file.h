#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes through a temporary file in the same folder and renames it over
// the target, so a reader sees either the old or the new content, whole.
bool writeFileAtomically(const std::string &path, const void *data, std::size_t size, std::string *error = nullptr);

// False if the file cannot be read (missing, unreadable).
bool readWholeFile(const std::string &path, std::vector<uint8_t> &content);

// Creates the folder and its parents, like mkdir -p.
bool makeFolders(const std::string &path, std::string *error = nullptr);
