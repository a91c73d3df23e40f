#include "launch_entry_text.h"

#include <cstring>

namespace ktkey {
namespace {

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    const void* end = std::memchr(field, 0, N);
    return std::string(field, end != nullptr ? static_cast<const char*>(end) - field : N);
}

}  // namespace

LaunchCommand ReadLaunchEntry(const pz::LaunchEntry& entry) {
    return {FieldText(entry.Path), FieldText(entry.Parameters)};
}

}  // namespace ktkey
