// Keeps the maker's Wintab interface library in the system directory: another tablet product may have
// installed its own "Wintab32.dll", which cannot speak this service's connection protocol.
#pragma once

namespace pz {

// Company name the maker's library carries in its Chinese (PRC) Unicode string block; a longer name
// starting with it also matches.
constexpr const char kMakerCompanyName[] = "Tavorin Technology";

// Checks "\Wintab32.dll" of the system directory and replaces it with the copy the installation leaves
// in the Windows directory's "\Temp" unless it is the maker's. Failures are silent.
void EnsureWintabLibrary();

// The same for given paths: copies `sparePath` over `installedPath` (the result is ignored) unless the
// installed file's version resource names the maker.
void EnsureWintabLibraryAt(const char* installedPath, const char* sparePath);

// True when the file's "\StringFileInfo\080404b0\CompanyName" starts with kMakerCompanyName.
bool IsMakersLibrary(const char* path);

}  // namespace pz
