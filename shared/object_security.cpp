#include "object_security.h"

namespace pz {

SECURITY_ATTRIBUTES ObjectSecurity{};

}  // namespace pz
