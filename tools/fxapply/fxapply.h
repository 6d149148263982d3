// The fxapply command: runs one engine effect on a picture file (BMP, PNG or JPEG).
//
//   fxapply [--seed N] [--quiet] EFFECT INPUT OUTPUT [FIELD ...]
//   fxapply --list
//
// Exit status 0: written; 1: usage or file error, nothing written; 2: the effect gave no image.
#ifndef FXUI_TOOLS_FXAPPLY_H
#define FXUI_TOOLS_FXAPPLY_H

#include <cstdio>

// Runs the command in-process; never throws.
int RunFxApply(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

#endif
