#include <cstdio>

#include "tools/fxapply/fxapply.h"

int main(int argc, char** argv) { return RunFxApply(argc, argv, stdout, stderr); }
