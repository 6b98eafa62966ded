// The icon cache file's bytes: stamp, record size, slot table, and the header check of cases.txt.
#include <gtest/gtest.h>

#include <cstring>
#include <iomanip>
#include <sstream>
#include <vector>

#include "menu/iconcache_file.h"
#include "menu_cases.h"
#include "test_support.h"

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
    for (const Case &c : read_cases(kCases)) {
        if (c.head[0] != "header") continue;  // menu_win_test.cpp's
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        std::vector<std::string> out;
        std::istringstream lines(c.input);
        for (std::string line, what; std::getline(lines, line);) {
            int pictures, record, expected, row, slot;
            long long delta;
            std::istringstream words(line);
            words >> std::setbase(0) >> pictures >> record >> expected >> delta >> row >> slot;
            std::getline(words >> std::ws, what);
            std::vector<unsigned char> header(kIconHeaderSize + 4, 0x77);  // bytes after the table
            icon_image_start(header.data(), kStamp, record);
            for (int k = 0; k < pictures && k < kIconSlotCount; ++k)
                icon_image_set_slot(header.data(), k, 2 + k);
            icon_image_set_slot(header.data(), row, slot);
            int32_t slots[kIconSlotCount + 1];
            memset(slots, 0x55, sizeof slots);
            int accepted = icon_header_read(
                header.data(), (uint64_t)((2LL + pictures) * record + delta), expected, slots);
            EXPECT_EQ(slots[row], accepted ? slot : 0x55555555) << what;
            EXPECT_EQ(slots[kIconSlotCount], 0x55555555) << what;
            out.push_back(std::to_string(accepted) + " " + what);
        }
        EXPECT_EQ(out, c.expected);
    }
}
