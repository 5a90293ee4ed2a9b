// SPDX-License-Identifier: GPL-2.0-or-later
// The 30 slots and the files, order, table id and button each one names.
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <utility>

#include "state/slot_names.h"
#include <gtest/gtest.h>

namespace {

struct SlotCase {
    std::int32_t slot;
    const char *fileStem; // order letters and file digit: kpx-<stem>.txt, kpx-<stem>.zd
    char orderDigit;
    const char *tableId;
};

void PrintTo(const SlotCase &slotCase, std::ostream *out)
{
    *out << "slot " << slotCase.slot;
}

// The buttons of a row are captioned 1 to 9 and then 0: the tenth slot of a row is file digit 0.
constexpr SlotCase kSlots[] = {
    { 1, "ty1", '1', "dty" },
    { 2, "ty2", '1', "dty" },
    { 3, "ty3", '1', "dty" },
    { 4, "ty4", '1', "dty" },
    { 5, "ty5", '1', "dty" },
    { 6, "ty6", '1', "dty" },
    { 7, "ty7", '1', "dty" },
    { 8, "ty8", '1', "dty" },
    { 9, "ty9", '1', "dty" },
    { 10, "ty0", '1', "dty" },
    { 11, "py1", '2', "dpy" },
    { 12, "py2", '2', "dpy" },
    { 13, "py3", '2', "dpy" },
    { 14, "py4", '2', "dpy" },
    { 15, "py5", '2', "dpy" },
    { 16, "py6", '2', "dpy" },
    { 17, "py7", '2', "dpy" },
    { 18, "py8", '2', "dpy" },
    { 19, "py9", '2', "dpy" },
    { 20, "py0", '2', "dpy" },
    { 21, "ib1", '3', "dib" },
    { 22, "ib2", '3', "dib" },
    { 23, "ib3", '3', "dib" },
    { 24, "ib4", '3', "dib" },
    { 25, "ib5", '3', "dib" },
    { 26, "ib6", '3', "dib" },
    { 27, "ib7", '3', "dib" },
    { 28, "ib8", '3', "dib" },
    { 29, "ib9", '3', "dib" },
    { 30, "ib0", '3', "dib" },
};

constexpr char kDataTemplate[] = "c:\\vokelu\\kpx-ty0.txt";
constexpr char kTableTemplate[] = "c:\\vokelu\\kpx-ty0.zd";

class Slot : public testing::TestWithParam<SlotCase> { };

TEST_P(Slot, NamesItsFilesByteForByte)
{
    const SlotCase &slot = GetParam();
    EXPECT_EQ(kpx::DataFileName(slot.slot, 'C'), std::string("C:\\vokelu\\kpx-") + slot.fileStem + ".txt");
    EXPECT_EQ(kpx::TableFileName(slot.slot, 'C'), std::string("C:\\vokelu\\kpx-") + slot.fileStem + ".zd");
}

TEST_P(Slot, OrderIdAndButton)
{
    const SlotCase &slot = GetParam();
    EXPECT_EQ(kpx::OrderDigit(slot.slot), slot.orderDigit);
    EXPECT_EQ(kpx::TableId(slot.slot), slot.tableId);
    EXPECT_EQ(kpx::SlotButton(slot.slot), slot.slot);
    EXPECT_EQ(kpx::validSlot(slot.slot), slot.slot);
}

TEST_P(Slot, DiffersFromTheTemplateOnlyInDriveOrderAndDigit)
{
    for (const auto &[path, pathTemplate] : { std::pair { kpx::DataFileName(GetParam().slot, 'D'), kDataTemplate },
             std::pair { kpx::TableFileName(GetParam().slot, 'D'), kTableTemplate } }) {
        const std::string expected(pathTemplate);
        ASSERT_EQ(path.size(), expected.size()) << path;
        for (std::size_t at = 0; at < path.size(); ++at) {
            if (at != 0 && at != 14 && at != 15 && at != 16) {
                EXPECT_EQ(path[at], expected[at]) << path << " byte " << at;
            }
        }
        EXPECT_EQ(path[0], 'D');
    }
}

INSTANTIATE_TEST_SUITE_P(AllThirty, Slot, testing::ValuesIn(kSlots),
    [](const testing::TestParamInfo<SlotCase> &info) { return std::to_string(info.param.slot); });

TEST(Slots, ThirtyDistinctFiles)
{
    std::set<std::string> dataFiles;
    std::set<std::string> tableFiles;
    for (std::int32_t slot = kpx::kFirstSlot; slot <= kpx::kLastSlot; ++slot) {
        dataFiles.insert(kpx::DataFileName(slot, 'C'));
        tableFiles.insert(kpx::TableFileName(slot, 'C'));
    }
    EXPECT_EQ(dataFiles.size(), 30u);
    EXPECT_EQ(tableFiles.size(), 30u);
}

TEST(Slots, DriveLetterIsUsedAsGiven)
{
    EXPECT_EQ(kpx::DataFileName(1, 'E'), "E:\\vokelu\\kpx-ty1.txt");
    EXPECT_EQ(kpx::TableFileName(30, 'c'), "c:\\vokelu\\kpx-ib0.zd");
}

class SlotOutOfRange : public testing::TestWithParam<std::int32_t> { };

TEST_P(SlotOutOfRange, CountsAsSlotOne)
{
    const std::int32_t slot = GetParam();
    EXPECT_EQ(kpx::validSlot(slot), 1);
    EXPECT_EQ(kpx::DataFileName(slot, 'C'), "C:\\vokelu\\kpx-ty1.txt");
    EXPECT_EQ(kpx::TableFileName(slot, 'C'), "C:\\vokelu\\kpx-ty1.zd");
    EXPECT_EQ(kpx::OrderDigit(slot), '1');
    EXPECT_EQ(kpx::TableId(slot), "dty");
    EXPECT_EQ(kpx::SlotButton(slot), 1);
}

INSTANTIATE_TEST_SUITE_P(Numbers, SlotOutOfRange,
    testing::Values(
        0, 31, 40, -5, -1, 100, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()));

TEST(StateFile, SitsInTheProgramDirectoryOfTheDrive)
{
    EXPECT_EQ(kpx::StateFileName('C'), "C:\\vokelu\\kpxv4.ini");
    EXPECT_EQ(kpx::StateFileName('D'), "D:\\vokelu\\kpxv4.ini");
}

} // namespace
