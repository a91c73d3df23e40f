// Any key file: loading reads nothing past the bytes it was given, and a stored record loads back as it
// was, whatever the file held before.
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_input.h"
#include "key_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto record = std::make_unique<pz::KeySetRecord>();
    pz::SetDefaultKeys(*record);
    pz::LoadKeyFile(data, size, *record);

    std::vector<uint8_t> image(data, data + size);
    pz::StoreKeyFile(*record, image);
    auto reloaded = std::make_unique<pz::KeySetRecord>();
    fuzz::Require(pz::LoadKeyFile(image.data(), image.size(), *reloaded));
    fuzz::Require(std::memcmp(record.get(), reloaded.get(), sizeof(pz::KeySetRecord)) == 0);
    return 0;
}
