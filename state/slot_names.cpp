// SPDX-License-Identifier: GPL-2.0-or-later
#include "state/slot_names.h"

namespace kpx {
namespace {

// Byte 0 is the drive letter, bytes 14 and 15 the order letters, byte 16 the file digit.
constexpr char kDataFileTemplate[] = "c:\\vokelu\\kpx-ty0.txt";
constexpr char kTableFileTemplate[] = "c:\\vokelu\\kpx-ty0.zd";
constexpr char kStateFileTemplate[] = "c:\\vokelu\\kpxv4.ini";

std::string slotPath(const char *pathTemplate, std::int32_t slot, char driveLetter)
{
    slot = validSlot(slot);
    std::string path(pathTemplate);
    path[0] = driveLetter;
    const std::string_view letters = SlotOrder(slot).letters();
    path[14] = letters[0];
    path[15] = letters[1];
    path[16] = static_cast<char>('0' + slot % 10);
    return path;
}

} // namespace

std::int32_t validSlot(std::int32_t slot)
{
    return slot >= kFirstSlot && slot <= kLastSlot ? slot : kFirstSlot;
}

std::string DataFileName(std::int32_t slot, char driveLetter)
{
    return slotPath(kDataFileTemplate, slot, driveLetter);
}

std::string TableFileName(std::int32_t slot, char driveLetter)
{
    return slotPath(kTableFileTemplate, slot, driveLetter);
}

TableOrder SlotOrder(std::int32_t slot)
{
    switch ((validSlot(slot) - 1) / 10) {
    case 1:
        return TableOrder(TableOrder::Kind::Py);
    case 2:
        return TableOrder(TableOrder::Kind::Ib);
    default:
        return TableOrder(TableOrder::Kind::Ty);
    }
}

char OrderDigit(std::int32_t slot)
{
    return SlotOrder(slot).digit();
}

std::string TableId(std::int32_t slot)
{
    return std::string(SlotOrder(slot).defaultId());
}

std::int32_t SlotButton(std::int32_t slot)
{
    return slot >= 2 && slot <= kLastSlot ? slot : 1;
}

std::string StateFileName(char driveLetter)
{
    std::string path(kStateFileTemplate);
    path[0] = driveLetter;
    return path;
}

} // namespace kpx
