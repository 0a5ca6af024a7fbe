#pragma once

#include <QString>

namespace FileNames {
// Whether the text can stand as one file name inside a folder without reaching outside it: not
// empty, no "/", not "." or "..".
bool isPlainFileName(const QString& name);
} // namespace FileNames
