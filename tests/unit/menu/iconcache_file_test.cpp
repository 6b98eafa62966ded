// The icon cache file's bytes: stamp, record size, slot table and the header check.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "menu/iconcache_file.h"

constexpr int kRecord = 808;  // 16 x 16 pictures
const SysTime kStamp = {2026, 12, 1, 7, 9, 30, 15, 250};

TEST(IconCacheFile, ImageBytesAndStamp) {
    EXPECT_EQ(icon_record_size(16, 16), kRecord);
    EXPECT_EQ(icon_record_size(5, 1), 40 + 16);  // rows padded to four bytes
    EXPECT_EQ(icon_cache_file_size(3, kRecord), 2020u + 5 * kRecord);
    std::vector<unsigned char> image(kIconHeaderSize + 4, 0x55);
    icon_image_start(image.data(), kStamp, 0x01020304);
    for (int row : {-1, 0, 499, 500}) icon_image_set_slot(image.data(), row, 0x0a0b0c00 + row);
    EXPECT_EQ(memcmp(image.data(), &kStamp, 16), 0);  // all eight words, little-endian
    const unsigned char fields[] = {4, 3, 2, 1, 0, 0xc, 0xb, 0xa, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(&image[16], fields, 12), 0);                  // the record size, rows 0 and 1
    const unsigned char last_row[] = {0xf3, 0xd, 0xb, 0xa, 0x55};  // and nothing after it
    EXPECT_EQ(memcmp(&image[2016], last_row, 5), 0);
    EXPECT_EQ(icon_image_record(image.data(), 3, kRecord) - image.data(), 2020 + 3 * kRecord);
    // The stamp is the definition's time to the second, without day of week and milliseconds.
    for (uint16_t SysTime::*field :
         {&SysTime::year, &SysTime::month, &SysTime::day_of_week, &SysTime::day, &SysTime::hour,
          &SysTime::minute, &SysTime::second, &SysTime::milliseconds}) {
        SysTime other = kStamp;
        ++(other.*field);
        bool ignored = field == &SysTime::day_of_week || field == &SysTime::milliseconds;
        EXPECT_EQ(icon_stamp_matches(image.data(), other), ignored) << other.*field;
    }
    EXPECT_EQ(icon_stamp_matches(image.data(), kStamp), 1);
}

TEST(IconCacheFile, HeaderIsAcceptedOnlyWhenEverySlotLiesInTheData) {
    const struct {
        const char *what;
        int entry_pictures, record, expected_record;
        long long data_delta;  // added to the size of the pictures
        int row, slot;         // written over the row's slot
        int accepted;
    } cases[] = {
        {"as written", 3, kRecord, kRecord, 0, 2, 4, 1},
        {"only the two fixed pictures", 0, kRecord, kRecord, 0, 0, 0, 1},
        {"one picture", 0, kRecord, kRecord, -kRecord, 0, 0, 0},
        {"a partial record after the last", 3, kRecord, kRecord, 100, 0, 2, 1},
        {"last picture cut", 3, kRecord, kRecord, -1, 0, 2, 0},
        {"other record size", 3, kRecord, 812, 0, 0, 2, 0},
        {"no record size", 0, 0, 0, 0, 0, 0, 0},
        {"one-byte records", 0, 1, 1, 0, 0, 0, 1},
        {"record size in all four bytes", 0, 0x01020304, 0x01020304, 0, 1, 1, 1},
        {"row 0 past the data", 3, kRecord, kRecord, 0, 0, 5, 0},
        {"last row on the last picture", 3, kRecord, kRecord, 0, 499, 4, 1},
        {"negative slot", 3, kRecord, kRecord, 0, 499, -1, 0},
        {"slot in two bytes", 300, kRecord, kRecord, 0, 1, 0x101, 1},
        {"slot's top byte", 3, kRecord, kRecord, 0, 1, 0x01000002, 0},
        {"slot's third byte", 3, kRecord, kRecord, 0, 1, 0x00010002, 0},
        {"the most pictures rows can have", 500, kRecord, kRecord, 0, 0, 2, 1},
        {"more pictures than rows", 500, kRecord, kRecord, kRecord, 0, 2, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> header(kIconHeaderSize + 4, 0x77);  // bytes after the table
        icon_image_start(header.data(), kStamp, c.record);
        for (int k = 0; k < c.entry_pictures && k < kIconSlotCount; ++k)
            icon_image_set_slot(header.data(), k, 2 + k);
        icon_image_set_slot(header.data(), c.row, c.slot);
        long long data = (2LL + c.entry_pictures) * c.record + c.data_delta;
        int32_t slots[kIconSlotCount + 1];
        memset(slots, 0x55, sizeof slots);
        EXPECT_EQ(icon_header_read(header.data(), (uint64_t)data, c.expected_record, slots),
                  c.accepted);
        EXPECT_EQ(slots[c.row], c.accepted ? c.slot : 0x55555555);
        EXPECT_EQ(slots[kIconSlotCount], 0x55555555);
    }
}
