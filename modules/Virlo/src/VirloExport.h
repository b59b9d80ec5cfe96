#ifndef VIRLO_EXPORT_H
#define VIRLO_EXPORT_H

// Marks a function as one of the library's exports: an undecorated C name,
// visible although the library's code is built with hidden visibility (the
// version script Virlo.map then lists it).
#define VIRLO_EXPORT extern "C" __attribute__((visibility("default")))

#endif
