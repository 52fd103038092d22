#include "app/program.h"

namespace {

Program program;

}  // namespace

Program& TheProgram() { return program; }

void ResetProgram() { program = Program(); }
