#ifndef AMBREL_CODE_WRITER_H
#define AMBREL_CODE_WRITER_H

#include <cstdint>

// Writes bytes over loaded machine code, which is mapped read-only: the
// pages are made writable and executable for the copy and then get back the
// protection the process's memory map gave them. Meant for patches shorter
// than a page, which touch one page or two. Returns 0, or the errno of the
// protection change that failed, in which case nothing was written.
int WriteCode(uint64_t address, const uint8_t* bytes, uint64_t length);

#endif
