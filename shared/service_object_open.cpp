#include "service_object_open.h"

#include "object_name_rule.h"

namespace pz {

unsigned OsMajorVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) ? version.dwMajorVersion : 0;
}

std::string NameForThisSystem(const char* name) {
    return NameForOsMajor(name, OsMajorVersion());
}

HANDLE OpenServiceObject(ServiceObjectKind kind, const char* name, DWORD access) {
    for (const std::string& candidate : NamesToTry(name)) {
        HANDLE handle = kind == ServiceObjectKind::kMapping ? OpenFileMappingA(access, FALSE, candidate.c_str())
                                                            : OpenEventA(access, FALSE, candidate.c_str());
        if (handle != nullptr) return handle;
    }
    return nullptr;
}

}  // namespace pz
