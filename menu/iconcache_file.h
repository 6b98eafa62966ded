// The icon cache file's bytes: stamp, record size, slot table and records.
//
// Nothing here calls the system, so the layout can be read and written over
// plain byte buffers. All numbers are little-endian.
//
//   offset 0     16 bytes  stamp: the menu definition file's last-write time
//   offset 16     4 bytes  record size R
//   offset 20  2000 bytes  slot table: 500 slots, one per row (0: no picture)
//   offset 2020  N * R     pictures, slot 0 first: 40-byte bitmap header and
//                          bottom-up 24-bit pixel rows
#pragma once

#include <cstddef>
#include <cstdint>

#include "definition/items.h"
#include "core/platform.h"

constexpr size_t kIconStampSize = 16;
constexpr size_t kIconRecordSizeOffset = 16;
constexpr size_t kIconSlotTableOffset = 20;
constexpr int kIconSlotCount = kMaxRows;
constexpr size_t kIconHeaderSize = kIconSlotTableOffset + 4 * kIconSlotCount;  // 2020
constexpr size_t kIconBitmapHeaderSize = 40;
constexpr int kIconFixedPictures = 2;  // slot 0 the system picture, slot 1 the folder

// 40 + the pixel rows: 3 bytes a pixel, each row padded to a multiple of 4.
int icon_record_size(int width, int height);

// Size of a cache file holding the fixed pictures and entry_pictures more.
size_t icon_cache_file_size(int entry_pictures, int record_size);

// The stamp is current when year, month, day, hour, minute and second match;
// day of week and milliseconds are not compared.
int icon_stamp_matches(const unsigned char *stamp, const SysTime &time);

// Starts a file image of icon_cache_file_size bytes (zeroed by the caller):
// the stamp, R and an empty slot table.
void icon_image_start(unsigned char *image, const SysTime &time, int record_size);
// Records slot for row in the image's slot table.
void icon_image_set_slot(unsigned char *image, int row, int slot);
// Where picture k starts in a file image.
unsigned char *icon_image_record(unsigned char *image, int k, int record_size);

// Reads R and the slot table from the first kIconHeaderSize bytes of a file
// whose pictures take data_size bytes after them. A file is accepted only
// when R is expected_record_size, the two fixed pictures are there, there
// are no more pictures than rows can have, and every slot names a whole
// record inside the data: nothing read from the
// file can send a later picture read past the loaded block. 0 when refused;
// slots is then left untouched.
int icon_header_read(const unsigned char *header, uint64_t data_size, int expected_record_size,
                     int32_t *slots);
