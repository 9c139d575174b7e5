// SPDX-License-Identifier: GPL-3.0-or-later
// What a name given for output points at, once its links are followed:
// the part of OutputFile that looks before anything is written.
#pragma once

#include <QString>

#include <string>

#include <sys/stat.h>

namespace OutputTarget {

enum class Kind {
    Replace,     // a regular file or a new name: temporary file and rename
    InPlace,     // a FIFO or character device, opened by its name
    Descriptor,  // an open descriptor of this process
    Refused,     // never written: Reason says why
};

struct Target {
    Kind kind = Kind::Refused;
    std::string path;          // after every link; Replace and InPlace
    int descriptor = -1;       // Descriptor
    bool exists = false;       // Replace: a file to replace, not a new name
    struct stat status {};     // when exists, or for InPlace and Refused
    QString reason;            // Refused
};

// Follows the links of `path` to what will be written; "-" is standard
// output, a name of one of this process's descriptors (/dev/stdout,
// /dev/fd/N) is that descriptor.
Target ResolveName(const QString& path);

// Why a file could not be written, as the end of a Czech sentence.
QString ReasonOf(int error);

std::string FolderOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

// The folder with every link resolved, or empty when it does not exist.
std::string RealFolder(const std::string& path);

bool SameObject(const struct stat& a, const struct stat& b);

}  // namespace OutputTarget
