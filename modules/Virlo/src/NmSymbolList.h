#ifndef VIRLO_NM_SYMBOL_LIST_H
#define VIRLO_NM_SYMBOL_LIST_H

#include <string>

// The name under which a listed (demangled) symbol is looked up: a
// function's argument list is dropped (ns::Engine::start(int) const gives
// ns::Engine::start), and a name that continues with "::" after its last
// ')' keeps what follows the first "::" (tick(int)::counted gives counted,
// (anonymous namespace)::counter gives counter). A function's static
// variable listed with a number appended (calls.0) is looked up by its name
// (calls).
std::string CutListedName(const std::string& name);

#endif
