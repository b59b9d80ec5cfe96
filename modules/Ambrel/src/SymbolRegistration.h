#ifndef AMBREL_SYMBOL_REGISTRATION_H
#define AMBREL_SYMBOL_REGISTRATION_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Turns every configured variable, task function and EEPROM range into a
// record with an absolute address: the passes below, in this order.
void RegisterSymbols(FmiInternalState& instance);

// The fmiVariables entries become the records of memoryRanges; an entry
// that names no known symbol is reported with its line and skipped.
void RegisterVariableSymbols(FmiInternalState& instance);

// Body, trigger and trigger-input addresses of every task.
void RegisterTaskSymbols(FmiInternalState& instance);

// Address and size of every EEPROM range; a range whose symbol is not found
// is reported and keeps an all-zero location.
void RegisterEepromSymbols(FmiInternalState& instance);

// Makes the memory of every registered variable readable, writable and
// executable; 0, or the error code of the last failing call.
uint32_t UnprotectMemoryRanges(FmiInternalState& instance);

// One typed accessor per registered variable; 0, or 3 when a record got none.
int32_t CreateSymbolAccessors(FmiInternalState& instance, const std::string& instanceName);

#endif
