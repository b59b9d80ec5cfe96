#ifndef AMBREL_BITFIELD_PACKING_ORDER_SECTION_H
#define AMBREL_BITFIELD_PACKING_ORDER_SECTION_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Sets the instance's bitfieldPackingOrder to left to right when the first
// word of any entry of the bitfield_packing_order section is
// "left_to_right"; every other word leaves it as it is; 0.
int32_t ReadBitfieldPackingOrderSection(FmiInternalState& instance, const std::string& folder,
                                        const std::string& instanceName);

#endif
