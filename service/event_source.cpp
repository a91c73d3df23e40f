// Registration of the service as an event-log source: its own key and its name in the "Sources" list.
#include <cstring>
#include <vector>

#include "service_base.h"

namespace {
constexpr char kApplicationLogKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

// The "Sources" multi-string of the Application log: the bytes with their final terminator, and the
// type it was stored with. A missing value reads as an empty list.
struct SourceList {
    std::vector<char> bytes;
    DWORD type = REG_MULTI_SZ;
};

bool ReadSources(HKEY key, SourceList& list, size_t extra) {
    DWORD size = 0;
    if (RegQueryValueExA(key, "Sources", nullptr, &list.type, nullptr, &size) != ERROR_SUCCESS || size == 0) {
        list.type = REG_MULTI_SZ;
        list.bytes.assign(1, '\0');
        return true;
    }
    list.bytes.assign(size + extra, '\0');
    if (RegQueryValueExA(key, "Sources", nullptr, &list.type, reinterpret_cast<BYTE*>(list.bytes.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    list.bytes.resize(size);
    if (list.bytes.back() != '\0') list.bytes.push_back('\0');
    return true;
}

bool ContainsName(const std::vector<char>& bytes, const char* name) {
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; i += std::strlen(&bytes[i]) + 1)
        if (lstrcmpA(&bytes[i], name) == 0) return true;
    return false;
}

void StoreSources(HKEY key, const SourceList& list) {
    RegSetValueExA(key, "Sources", 0, list.type, reinterpret_cast<const BYTE*>(list.bytes.data()),
                   static_cast<DWORD>(list.bytes.size()));
}
}  // namespace

BOOL CServiceBase::AddEventSource(const char* messageFile, DWORD typesSupported) {
    char path[512];
    lstrcpyA(path, kApplicationLogKey);
    lstrcatA(path, m_serviceName);
    HKEY key;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, path, &key) != ERROR_SUCCESS) return FALSE;
    RegSetValueExA(key, "EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(messageFile),
                   static_cast<DWORD>(lstrlenA(messageFile) + 1));
    RegSetValueExA(key, "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&typesSupported),
                   sizeof typesSupported);
    RegCloseKey(key);

    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApplicationLogKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return FALSE;
    SourceList list;
    const size_t nameLength = std::strlen(m_serviceName);
    if (ReadSources(key, list, nameLength + 1) && !ContainsName(list.bytes, m_serviceName)) {
        // The name goes over the list's final terminator; a new one follows it.
        list.bytes.insert(list.bytes.end() - 1, m_serviceName, m_serviceName + nameLength + 1);
        StoreSources(key, list);
    }
    RegCloseKey(key);
    return TRUE;
}

BOOL CServiceBase::RemoveEventSource() {
    char path[512];
    lstrcpyA(path, kApplicationLogKey);
    lstrcatA(path, m_serviceName);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);

    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApplicationLogKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return FALSE;
    SourceList list;
    if (ReadSources(key, list, 0)) {
        std::vector<char> kept;
        bool removed = false;
        for (size_t i = 0; i < list.bytes.size() && list.bytes[i] != '\0';) {
            const size_t length = std::strlen(&list.bytes[i]);
            if (lstrcmpA(&list.bytes[i], m_serviceName) == 0)
                removed = true;
            else
                kept.insert(kept.end(), &list.bytes[i], &list.bytes[i] + length + 1);
            i += length + 1;
        }
        kept.push_back('\0');
        if (removed) {
            list.bytes = kept;
            StoreSources(key, list);
        }
    }
    RegCloseKey(key);
    return TRUE;
}
