#pragma once

namespace numvex {

// numvex-tape tokens --syntax nvx|report [FILE]: prints how the editor colours a
// document, one line per document line. argv starts after the word "tokens".
int RunTokenDump(int argc, char** argv);

}  // namespace numvex
