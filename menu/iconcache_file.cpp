// Byte layout of the icon cache file, over plain buffers.
#include "menu/iconcache_file.h"

#include <cstring>

namespace {

uint16_t get16(const unsigned char *p) { return (uint16_t)(p[0] | p[1] << 8); }

int32_t get32(const unsigned char *p) {
    return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 |
                     (uint32_t)p[3] << 24);
}

void put16(unsigned char *p, uint16_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}

void put32(unsigned char *p, int32_t v) {
    uint32_t u = (uint32_t)v;
    for (int b = 0; b < 4; ++b) p[b] = (unsigned char)(u >> (8 * b));
}

}  // namespace

int icon_record_size(int width, int height) {
    int stride = (3 * width + 3) / 4 * 4;
    return (int)kIconBitmapHeaderSize + stride * height;
}

size_t icon_cache_file_size(int entry_pictures, int record_size) {
    return kIconHeaderSize + (size_t)(kIconFixedPictures + entry_pictures) * (size_t)record_size;
}

int icon_stamp_matches(const unsigned char *stamp, const SysTime &time) {
    // Word order: year, month, day of week, day, hour, minute, second, ms.
    const uint16_t wanted[8] = {time.year, time.month,  0,           time.day,
                                time.hour, time.minute, time.second, 0};
    for (int w = 0; w < 8; ++w) {
        if (w == 2 || w == 7) continue;
        if (get16(stamp + 2 * w) != wanted[w]) return 0;
    }
    return 1;
}

void icon_image_start(unsigned char *image, const SysTime &time, int record_size) {
    const uint16_t words[8] = {time.year, time.month,  time.day_of_week, time.day,
                               time.hour, time.minute, time.second,      time.milliseconds};
    for (int w = 0; w < 8; ++w) put16(image + 2 * w, words[w]);
    put32(image + kIconRecordSizeOffset, record_size);
    memset(image + kIconSlotTableOffset, 0, 4 * kIconSlotCount);
}

void icon_image_set_slot(unsigned char *image, int row, int slot) {
    if (row >= 0 && row < kIconSlotCount) put32(image + kIconSlotTableOffset + 4 * row, slot);
}

unsigned char *icon_image_record(unsigned char *image, int k, int record_size) {
    return image + kIconHeaderSize + (size_t)k * (size_t)record_size;
}

int icon_header_read(const unsigned char *header, uint64_t data_size, int expected_record_size,
                     int32_t *slots) {
    int32_t record_size = get32(header + kIconRecordSizeOffset);
    if (record_size != expected_record_size || record_size <= 0) return 0;
    uint64_t records = data_size / (uint64_t)record_size;  // whole records only
    // The biggest cache ever written holds a picture for each row besides
    // the fixed two; a larger file is refused rather than read.
    if (records < (uint64_t)kIconFixedPictures || records > (uint64_t)kIconFixedPictures + kMaxRows)
        return 0;
    const unsigned char *table = header + kIconSlotTableOffset;
    for (int row = 0; row < kIconSlotCount; ++row) {
        int32_t slot = get32(table + 4 * row);
        if (slot < 0 || (uint64_t)slot >= records) return 0;
    }
    for (int row = 0; row < kIconSlotCount; ++row) slots[row] = get32(table + 4 * row);
    return 1;
}
