// Any settings file: loading reads nothing past the bytes it was given, and what a load restored is what
// the next save writes and the load after it restores again.
#include <cstring>

#include "fuzz_input.h"
#include "settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pz::ControlPanelBlock block{};
    pz::SetDefaultPenSettings(block.Record);
    pz::LoadSettingsFile(data, size, block.Record);

    uint8_t image[pz::kSettingsFileSize];
    pz::EncodeSettingsFile(block, image);
    pz::ControlPanelBlock reloaded{};
    pz::SetDefaultPenSettings(reloaded.Record);
    fuzz::Require(pz::LoadSettingsFile(image, sizeof image, reloaded.Record));
    uint8_t again[pz::kSettingsFileSize];
    pz::EncodeSettingsFile(reloaded, again);
    fuzz::Require(std::memcmp(image, again, sizeof image) == 0);
    return 0;
}
