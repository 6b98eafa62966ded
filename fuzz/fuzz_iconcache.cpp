// Fuzz target: the icon cache header reader over a byte buffer. Whatever it
// accepts must keep every picture inside the data that was read.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "menu/iconcache_file.h"
#include "core/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 12) return 0;
    uint64_t data_size;
    memcpy(&data_size, data, 8);
    int expected;
    memcpy(&expected, data + 8, 4);
    // Mostly the real record size for 16 x 16 pictures, sometimes any.
    if (!(expected & 0x40000000)) expected = icon_record_size(16, 16);
    if (data_size & 1) data_size %= (uint64_t)(kIconFixedPictures + kMaxRows + 8) * 808 + 1;
    // The header is read from a block of exactly its size, as the cache is.
    std::vector<unsigned char> header(kIconHeaderSize, 0);
    memcpy(header.data(), data + 12, size - 12 < kIconHeaderSize ? size - 12 : kIconHeaderSize);
    int32_t slots[kIconSlotCount];
    memset(slots, 0x55, sizeof slots);
    if (icon_header_read(header.data(), data_size, expected, slots)) {
        for (int row = 0; row < kIconSlotCount; ++row) {
            FUZZ_CHECK(slots[row] >= 0);
            FUZZ_CHECK(((uint64_t)slots[row] + 1) * (uint64_t)expected <= data_size);
        }
    } else {
        for (int row = 0; row < kIconSlotCount; ++row) FUZZ_CHECK(slots[row] == 0x55555555);
    }
    SysTime time = {};
    memcpy(&time, header.data(), sizeof time);
    FUZZ_CHECK(icon_stamp_matches(header.data(), time) == 1);
    return 0;
}
