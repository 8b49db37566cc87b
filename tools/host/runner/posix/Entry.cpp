// The arguments arrive as UTF-8 bytes.
#include "tools/host/runner/Main.h"

int main(int argc, char** argv) { return tavrel::hostrunner::Run(argc, argv); }
