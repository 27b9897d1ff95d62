#pragma once

#include <string>

#include "core/app/vb_bool.h"

// Existence tests used before creating report folders, loading captions and overwriting exports.
namespace twk::General {

// VbTrue exactly when a folder exists at path.
VbBool DirExists(const std::string& path);
// VbTrue when a file exists at path and can be opened; a folder gives VbFalse.
VbBool FileExists(const std::string& path);

}  // namespace twk::General
