#include "object_name_rule.h"

#include <cstring>

namespace pz {
namespace {

constexpr size_t kGlobalPrefixLength = sizeof kGlobalPrefix - 1;

bool HasGlobalPrefix(const std::string& name) {
    return name.compare(0, kGlobalPrefixLength, kGlobalPrefix) == 0;
}

}  // namespace

std::string BareObjectName(const std::string& name) {
    return HasGlobalPrefix(name) ? name.substr(kGlobalPrefixLength) : name;
}

std::string NameForOsMajor(const std::string& name, unsigned osMajor) {
    const std::string bare = BareObjectName(name);
    return osMajor < 6 ? kGlobalPrefix + bare : bare;
}

std::array<std::string, 2> NamesToTry(const std::string& name) {
    return {name, HasGlobalPrefix(name) ? BareObjectName(name) : kGlobalPrefix + name};
}

}  // namespace pz
