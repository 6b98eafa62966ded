// The icon cache file's bytes: stamp, record size and the slot table check.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "menu/iconcache_file.h"

namespace {

constexpr int kRecord = 808;  // 16 x 16 pictures
const SysTime kStamp = {2026, 12, 1, 7, 9, 30, 15, 250};

std::vector<unsigned char> image(int entry_pictures) {
    std::vector<unsigned char> bytes(icon_cache_file_size(entry_pictures, kRecord), 0);
    icon_image_start(bytes.data(), kStamp, kRecord);
    for (int k = 0; k < entry_pictures; ++k) icon_image_set_slot(bytes.data(), k, 2 + k);
    return bytes;
}

}  // namespace

TEST(IconCacheFile, StampComparesToTheSecond) {
    std::vector<unsigned char> bytes = image(0);
    EXPECT_EQ(icon_record_size(16, 16), kRecord);
    EXPECT_EQ(icon_record_size(5, 1), 40 + 16);  // rows padded to four bytes
    SysTime other = kStamp;
    other.milliseconds = 999;
    other.day_of_week = 3;
    EXPECT_EQ(icon_stamp_matches(bytes.data(), other), 1);
    other.second = 16;
    EXPECT_EQ(icon_stamp_matches(bytes.data(), other), 0);
}

TEST(IconCacheFile, HeaderIsAcceptedOnlyWhenEverySlotLiesInTheData) {
    struct {
        const char *what;
        int entry_pictures;
        std::function<void(std::vector<unsigned char> &)> change;
        long long data_delta;  // added to the size of the pictures
        int expected_record;
        int accepted;
    } cases[] = {
        {"as written", 3, [](auto &) {}, 0, kRecord, 1},
        {"a partial record after the last", 3, [](auto &) {}, 100, kRecord, 1},
        {"last picture cut", 3, [](auto &) {}, -1, kRecord, 0},
        {"only one picture", 0, [](auto &) {}, -kRecord, kRecord, 0},
        {"other record size", 3, [](auto &) {}, 0, 812, 0},
        {"zero record size", 0, [](auto &b) { memset(&b[16], 0, 4); }, 0, 0, 0},
        {"negative slot", 3, [](auto &b) { memset(&b[20 + 4 * 499], 0xff, 4); }, 0, kRecord, 0},
        {"slot past the data", 3, [](auto &b) { b[20 + 4 * 2] = 5; }, 0, kRecord, 0},
        {"more pictures than rows", 0, [](auto &) {}, 500LL * kRecord + kRecord, kRecord, 0},
        {"the most pictures rows can have", 0, [](auto &) {}, 500LL * kRecord, kRecord, 1},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> bytes = image(c.entry_pictures);
        c.change(bytes);
        long long data = (long long)(bytes.size() - kIconHeaderSize) + c.data_delta;
        int32_t slots[kIconSlotCount];
        memset(slots, 0x55, sizeof slots);
        EXPECT_EQ(icon_header_read(bytes.data(), (uint64_t)data, c.expected_record, slots),
                  c.accepted);
        EXPECT_EQ(slots[0], c.accepted ? (c.entry_pictures ? 2 : 0) : 0x55555555);
    }
}
