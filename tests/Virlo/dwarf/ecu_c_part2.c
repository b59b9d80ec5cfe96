/* The second compilation unit: defines the structure that the first one
   only declares. */
#include "ecu_c_opaque.h"

struct Opaque opaque;
struct Opaque opaques[2];
